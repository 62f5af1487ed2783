#pragma once
// The meeting point of the program and its SDL half: the program (app/Start.cpp) answers its
// command line and finds its pictures with nothing but the C and C++ libraries loaded, then loads
// the SDL half (app/StartSdl.cpp, a module of its own with SDL, X11 and the fonts behind
// it) only when it is to run.

#include "app/CommandLine.h"
#include "app/DataFolder.h"

// The module's file, beside the program in the build tree...
#define OMBREVALE_SDL_MODULE "ombrevale-sdl.so"
// ...and, installed, this far from the program's folder.
#define OMBREVALE_SDL_MODULE_INSTALLED "../lib/games/ombrevale/" OMBREVALE_SDL_MODULE

// Opens the main window and runs the title page until it is closed, in the data folder already
// entered; `data` carries the warning to say once there is a desktop. Returns the exit status.
extern "C" int OmbrevaleRunSdl(const ombrevale::CommandLine& line,
                               const ombrevale::DataFolderChoice& data);
using OmbrevaleRunSdlCall = decltype(&OmbrevaleRunSdl);
