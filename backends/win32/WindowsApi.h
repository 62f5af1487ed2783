#pragma once

// The Win32 API as the backend includes it: the lean headers, no min/max macros, and no
// MessageBox macro, so that the desktop contract's own MessageBox keeps its name.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
// windows.h first: mmsystem.h is written on its types.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#undef MessageBox
// The wave flags are the contract's own constants, of the same values (platform/Media.h).
#undef SND_SYNC
#undef SND_ASYNC
#undef SND_NODEFAULT
#undef SND_LOOP
#undef SND_NOSTOP
