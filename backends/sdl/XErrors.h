#pragma once

namespace ombrevale {

// Keeps one harmless X error from ending the program as it closes. SDL wakes its own wait for
// window events by sending an event to the window over a second connection to the X server; the
// wakeup sent when the close arrives can reach the server just after the window is gone, and
// Xlib's default handler would then end the program with status 1 and an error on stderr. An
// event sent to a window that no longer exists is ignored; every other X error goes on to the
// handler that was there before. Install it before SDL's video starts, so that SDL's own handler
// passes errors on to it; installing it again does nothing.
void IgnoreEventsSentToVanishedWindows();

// Whether an X error with these codes is such a late event.
bool IsEventSentToVanishedWindow(int errorCode, int requestCode);

}  // namespace ombrevale
