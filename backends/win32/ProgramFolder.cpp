#include "backends/win32/ProgramFolder.h"

#include <filesystem>
#include <vector>

#include "backends/win32/WindowsApi.h"

namespace ombrevale {

std::string ProgramFolder() {
  std::vector<wchar_t> name(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      // The program's paths are texts in the process's code page, UTF-8 by its manifest.
      return std::filesystem::path(std::wstring(name.data(), length)).parent_path().string();
    }
    name.resize(name.size() * 2);
  }
}

}  // namespace ombrevale
