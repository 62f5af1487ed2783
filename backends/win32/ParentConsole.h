#pragma once

// Where a Windows program's answers go: a window program has no console of its own, so --help
// and --version write to the console of the program that started it (or to where its output was
// sent); started from Explorer, with no console to write to, the text shows in a box.

#include <string_view>

namespace ombrevale {

// Writes `text` to standard output (`error` false) or standard error: to the handle the program
// was given, else to its parent's console. False when there is neither.
bool WriteToParentConsole(std::string_view text, bool error);

// Sends the C library's stdout and stderr, each where the program was given no handle for it, to
// the parent's console, if it has one: what the program says as it runs (a replay's lines, its
// complaints) then reaches the console it was started from, as on Linux.
void StdioToParentConsole();

// The system's modal box with `text`, titled `title`, owned by no window; `error` gives it the
// error icon.
void ShowTextBox(std::string_view title, std::string_view text, bool error);

}  // namespace ombrevale
