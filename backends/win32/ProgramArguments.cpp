#include "backends/win32/ProgramArguments.h"

#include "backends/win32/Utf16.h"
#include "backends/win32/WindowsApi.h"

#include <shellapi.h>

namespace ombrevale {

std::vector<std::string> ProgramArguments() {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return args;
  for (int i = 1; i < count; ++i) args.push_back(Narrow(wide[i]));
  LocalFree(wide);
  return args;
}

}  // namespace ombrevale
