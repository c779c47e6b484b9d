// The ways a Linux desktop tells which window is in front, and how each is opened. The
// dispatcher (createActiveWindowWatcher) picks one for the running session.
#pragma once

#include "platform/active_window.h"

namespace active_window
{
// The X server's window manager; none without an X display.
std::unique_ptr<ActiveWindowWatcher> openX11();
// KWin's scripting on the session bus; none when KWin does not load and run the script.
std::unique_ptr<ActiveWindowWatcher> openKwin();
} // namespace active_window
