#pragma once

// What the program does with X's errors: the harmless ones must not end it, and the loss of the
// display ends it in its own words.

// Xlib's connection; its header stays out of this one, as its macros clash with much else.
struct _XDisplay;

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

// Every error on `display` is ignored from now on, for as long as the connection is open: the
// request that met it fails, and its caller takes that as nothing said. For a connection of the
// program's own that only reads what other clients own (the desktop's settings): a window asked
// about may go away between two requests, as its owner pleases, and the error that follows is no
// fault of the program's. Errors on every other connection go to the process's handler as ever.
void IgnoreErrorsOn(_XDisplay* display);

// When the connection to the X server is lost (the server ended, or the session with it), says so
// in one sentence of the program's own, in place of Xlib's lines, and ends the program with status
// 1 at once: nothing more can be said to the server, and the window is gone with it. Installing it
// again does nothing.
void SayWhenTheDisplayIsLost();

}  // namespace ombrevale
