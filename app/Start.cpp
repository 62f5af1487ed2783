// Ombrevale: reads its command line, finds its pictures, then loads its SDL half, which opens
// the main window and runs the title page until it is closed. --help and --version are answered
// before any library of the desktop is loaded, so they cost what a small command costs.

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>

#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/StartSdl.h"
#include "platform/Complaint.h"
#include "vision/VisionPictures.h"

namespace {

// The SDL half's entry, from beside the program (the build tree) or from where an install
// puts it; nullptr, having said why on stderr, when neither loads.
OmbrevaleRunSdlCall LoadSdlHalf() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path here = fs::read_symlink("/proc/self/exe", ec).parent_path();
  std::string why = "cannot find the program's own folder";
  for (const fs::path& module :
       {here / OMBREVALE_SDL_MODULE, here / OMBREVALE_SDL_MODULE_INSTALLED}) {
    if (ec || !fs::exists(module, ec)) continue;
    // Global, as if linked: tools loaded beside the program (LD_PRELOAD) find SDL's calls.
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (handle == nullptr) {
      why = dlerror();
      break;
    }
    if (void* entry = dlsym(handle, "OmbrevaleRunSdl")) {
      return reinterpret_cast<OmbrevaleRunSdlCall>(entry);
    }
    why = dlerror();
    break;
  }
  if (why.rfind("cannot find", 0) == 0 && !ec) {
    why = "no " + (here / OMBREVALE_SDL_MODULE_INSTALLED).lexically_normal().string();
  }
  ombrevale::Complain("cannot load its SDL half: " + why);
  return nullptr;
}

// Answers --help, --version or a mistake. C++ streams are set up only here: to run, the program
// has no use for them, and their locale costs half a megabyte.
int AnswerOnStdio(const ombrevale::CommandLine& line) {
  std::ostringstream out, err;
  const int status = ombrevale::Answer(line, out, err).value_or(0);
  const auto put = [](const std::string& text, std::FILE* to) {
    return std::fwrite(text.data(), 1, text.size(), to) == text.size() && std::fflush(to) == 0;
  };
  // A help that could not be written is a failure, as in GNU programs.
  if (!put(out.str(), stdout)) return status == 0 ? 1 : status;
  put(err.str(), stderr);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ombrevale;
  // Help, the version and a mistyped option are answered before anything needs a desktop.
  CommandLine line = ReadCommandLine(argc, argv);
  if (line.ask != CommandLine::Ask::Run) return AnswerOnStdio(line);
  // The replay's file is named from where the program was started, before it enters its data
  // folder.
  for (std::optional<std::string>* file : {&line.record, &line.replay}) {
    std::error_code ec;
    if (*file) **file = std::filesystem::absolute(**file, ec).lexically_normal().string();
  }

  DataFolderChoice data = ChooseDataFolder(DataFolderPlacesHere(line.data), HoldsDatFolder);
  if (const auto complaint = EnterDataFolder(data)) {
    std::fprintf(stderr, "%s\n", complaint->c_str());
    return 2;  // as for any other bad argument
  }
  // A dat/ that lacks pictures, or that the user may not look into, is said as a missing one is.
  if (data.warning.empty()) data.warning = MissingPicturesWarning(VisionFiles());
  const OmbrevaleRunSdlCall run = LoadSdlHalf();
  if (run == nullptr) return 1;
  std::fflush(stdout);
  return run(line, data);
}
