#pragma once
// Replies of one controller that the adapter writes without headers (ATH0, its receive
// filter on that controller): each line rewritten as the adapter would have written it
// with headers on, so that every reader takes both forms alike. Without headers a single
// frame is its data alone ("410C1AF8"), a segmented message a line with its length in
// three digits and then its frames numbered "0:", "1:" ... ("00E", "0:410C1AF80D32", ...).

#include "link/reply.h"

#include <QString>

namespace zelcor {

// `text`: lines separated by CR, blanks and LF removed. Adapter words and lines that are
// neither form are kept as they came; so are lines that already carry a header.
QString withHeaders(const QString& text, const QString& controller, HeaderLayout layout);

} // namespace zelcor
