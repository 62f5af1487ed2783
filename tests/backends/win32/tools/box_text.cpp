// Prints the text of a box on the Windows desktop, for the tests that drive the program under
// Wine: box_text TITLE writes the texts of the static controls of the top-level window with that
// title, one per line, as UTF-8; status 1 when there is no such window.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(length > 0 ? length - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
  return out;
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
  wchar_t kind[32] = {}, text[1024] = {};
  GetClassNameW(child, kind, 32);
  if (lstrcmpiW(kind, L"Static") != 0) return TRUE;
  GetWindowTextW(child, text, 1024);
  if (text[0] != 0) std::printf("%s\n", Utf8(text).c_str());
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  HWND box = FindWindowW(nullptr, argv[1]);
  if (box == nullptr) return 1;
  EnumChildWindows(box, PrintStatic, 0);
  return 0;
}
