// What the leak checker of a build under AddressSanitizer is not to count as the program's own
// leaks. It reads these when the sanitizer starts, before main: so they are linked into every
// program that runs the SDL backend, the launcher included, and not only into the SDL half it
// loads later.

#if defined(__SANITIZE_ADDRESS__)
// SDL's X11 driver opens a D-Bus connection and deliberately leaves libdbus's global state for the
// application to free (dbus_shutdown); the program does not use D-Bus for that itself, so that
// memory is no leak of ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}
// That suppression is used in every run: the leak checker is not to list it at each exit, where
// it would pass for the program's own error output.
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}
#endif
