// The limit on how long the X display may keep silent while it opens. An X
// server that took the connection and stopped answering (stopped, wedged, at
// the end of a dead ssh tunnel) would hold start-up forever in a read that no
// signal interrupts: Xlib goes back to waiting. So a timer ends it.
#pragma once

// Arms (or re-arms) the limit: after `seconds` of it, one line naming the
// display goes to the standard error there was at the first arming, and the
// process exits with status 1. `suspects`: what the line asks about, in
// parentheses.
void limitSilence(const char *display, int seconds, const char *suspects);

// Disarms the limit.
void endSilenceLimit();
