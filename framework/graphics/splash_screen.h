#pragma once
// Logo splash screens shown at start (blocking).

// Shows the distributor-logo splash; each non-zero time replaces the default.
int PortalSplash(int timeIn, int timeFull, int timeOut, int number);
