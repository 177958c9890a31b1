#pragma once

/** Prepares the X11 connection as every X11 host program does before it loads plug-ins that open
    windows: protocol errors (a window property that a bare X server does not know) are treated as
    harmless instead of ending the process. The framework does so only in applications of its own, which
    the validation program is not. Does nothing without a display; idempotent. */
void prepareX11ForPlugIns();
