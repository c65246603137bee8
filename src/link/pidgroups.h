#pragma once
// The PIDs of one pass shared out among as few requests as the adapter allows, and among
// those requests so that their answers take as few CAN frames as they can: a frame costs
// its header, its length byte and its padding on the serial line, where a pass spends most
// of its time. Ten PIDs asked 6 + 4 as listed can take five frames where four would do.

#include <QList>

namespace zelcor {

// The CAN frames of a message of `bytes` bytes: a single frame holds seven, a first frame
// six and each frame after it seven.
int canFrames(int bytes);

// `pids` in groups of at most `perRequest`, as few groups as that allows; each group keeps
// the order the PIDs were given in. The same PIDs always give the same groups.
QList<QList<int>> fewestFrameGroups(const QList<int>& pids, int perRequest);

} // namespace zelcor
