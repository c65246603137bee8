#pragma once
// The serial line's rate for a session: the adapter is asked for a faster one (ATBRD on an
// ELM327 from version 1.2, STBR on an STN chip) and the port follows it, or both stay
// where they were when the handshake fails.

namespace zelcor {

class Link;

// Moves the adapter and the port to `baud` (within 3 %); false, with the rate in use kept,
// when the adapter refused, the line has no rate (a network adapter) or the new rate did not
// carry the adapter's banner and a command after it. The link's adapter report follows.
bool switchLineRate(Link& link, int baud);
// At a connection's end: back to the rate the adapter was found at (the report still names
// the session's rate); false when the adapter did not take it.
bool restoreLineRate(Link& link);
// The adapter went back to its power-up rate by itself (a full reset, or it slept): the
// port follows without asking it.
void lineRateForgotten(Link& link);

} // namespace zelcor
