#pragma once
// Once per connection, after the adapter was set up: which chip it is (an STN chip answers
// STI and STDI), which of the commands that copies lack it takes (each tried once, in a form
// that leaves its settings as they are), and a faster line when it takes one. It starts from
// what zelcor.ini kept about the same adapter with the same banner: a command refused then is
// not tried again, the rest is confirmed.

namespace zelcor {

class Link;

// Fills the link's adapter report (found by the port search: device, banner, rate) and
// keeps it in zelcor.ini. `fasterRate` 0 keeps the line rate.
void probeAdapter(Link& link, int fasterRate);
// Keeps the link's adapter report in zelcor.ini (the connection learned more since the probe).
void rememberAdapterReport(const Link& link);

} // namespace zelcor
