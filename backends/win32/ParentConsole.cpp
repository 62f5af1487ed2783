#include "backends/win32/ParentConsole.h"

#include <cstdio>
#include <string>

#include "backends/win32/Utf16.h"
#include "backends/win32/WindowsApi.h"

namespace ombrevale {
namespace {

bool Usable(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

bool WriteAll(HANDLE handle, std::string_view text) {
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    // A console takes its text as UTF-16, whatever its code page.
    const std::wstring wide = Widen(text);
    DWORD written = 0;
    return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) !=
           FALSE;
  }
  // A file or a pipe takes the bytes as they are.
  while (!text.empty()) {
    DWORD written = 0;
    if (!WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written == 0)
      return false;
    text.remove_prefix(written);
  }
  return true;
}

// The parent's console, attached once; null when the parent has none.
HANDLE ParentConsoleOutput() {
  static const HANDLE output = [] {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return HANDLE{nullptr};
    return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
  }();
  return output;
}

}  // namespace

bool WriteToParentConsole(std::string_view text, bool error) {
  const HANDLE given = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (Usable(given)) return WriteAll(given, text);
  const HANDLE console = ParentConsoleOutput();
  if (!Usable(console)) return false;
  return WriteAll(console, text);
}

void StdioToParentConsole() {
  const struct {
    DWORD handle;
    std::FILE* stream;
  } streams[] = {{STD_OUTPUT_HANDLE, stdout}, {STD_ERROR_HANDLE, stderr}};
  for (const auto& s : streams) {
    if (Usable(GetStdHandle(s.handle))) continue;
    if (!Usable(ParentConsoleOutput())) return;
    if (std::freopen("CONOUT$", "w", s.stream) != nullptr)
      std::setvbuf(s.stream, nullptr, _IONBF, 0);
  }
}

void ShowTextBox(std::string_view title, std::string_view text, bool error) {
  MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(),
              MB_OK | (error ? MB_ICONERROR : 0) | MB_SETFOREGROUND);
}

}  // namespace ombrevale
