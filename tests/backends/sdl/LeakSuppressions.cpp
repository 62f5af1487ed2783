// What the leak checker of the SDL tests under AddressSanitizer is not to count as a leak of ours:
// the program's own suppressions (backends/sdl/LeakSuppressions.cpp), and SDL's buffers kept for
// each thread that calls it, which SDL frees only for threads it started itself, where the tests
// read and play on threads of their own to see that nothing holds the program. Their stacks hold
// SDL's frames alone, so SDL is named as a whole; the tests' SDL handles are owned (SdlHandles.h).

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n"
         "leak:libSDL2-2.0.so\n";
}
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}
#endif
