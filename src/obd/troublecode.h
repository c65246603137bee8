#pragma once
// Trouble codes as they are shown: a system letter and four digits.

#include <QString>

namespace zelcor {

// The five-character form of a 16-bit code ("P0133" for 0x0133, "U1001" for 0xD001);
// empty for 0, the filler of a reply with fewer codes than room.
QString troubleCodeText(int code);

} // namespace zelcor
