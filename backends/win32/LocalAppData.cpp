#include "backends/win32/LocalAppData.h"

#include "backends/win32/Utf16.h"
#include "backends/win32/WindowsApi.h"
// clang-format off
#include <shlobj.h>
#include <knownfolders.h>
// clang-format on

namespace ombrevale {

std::optional<std::string> LocalAppDataFolder() {
  PWSTR path = nullptr;
  const HRESULT found =
      SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &path);
  std::optional<std::string> folder;
  if (SUCCEEDED(found) && path != nullptr && path[0] != L'\0')
    folder = Narrow(path) + "\\Ombrevale";
  CoTaskMemFree(path);  // given even on failure, and null is let be
  return folder;
}

}  // namespace ombrevale
