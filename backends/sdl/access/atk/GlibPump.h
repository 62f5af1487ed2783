#pragma once

// The accessibility bridge's conversation with the bus runs on GLib's main context, which the
// window's loop serves between its passes rather than waiting in it: a thread of its own waits on
// what the context waits on (the bus's socket, its timers) and wakes the window's wait when
// something comes, never spinning; the window then serves the context without blocking, on its
// own thread, where the toolkit's objects live.

#include <glib.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace ombrevale {

class GlibPump {
 public:
  // Serves the thread's default main context, which the caller's thread takes for its own.
  // `wake(context)` is called from the waiting thread.
  GlibPump(void (*wake)(void*), void* context);
  ~GlibPump();
  GlibPump(const GlibPump&) = delete;
  GlibPump& operator=(const GlibPump&) = delete;

  // Dispatches whatever the context has ready, without blocking; then has the waiting thread
  // wait for what comes next. Cheap when nothing came.
  void Serve();
  // Something the thread that owns the context did outside Serve may have given the context more
  // to wait on (a message that waits for the bus's socket): the waiting thread wakes, and the next
  // Serve waits again on all of it.
  void Refresh() { g_main_context_wakeup(context_); }

 private:
  void Arm();
  void Wait();

  GMainContext* context_;
  void (*wake_)(void*);
  void* wakeContext_;
  // What the context waits on, filled by the context and polled by the waiting thread while
  // `armed_`; `fired_` once something came or the context's time ran out.
  std::vector<GPollFD> fds_;
  gint priority_ = 0;
  gint timeout_ = -1;
  std::mutex mutex_;
  std::condition_variable armedChanged_;
  bool armed_ = false, fired_ = false, stopping_ = false;
  int stopFd_ = -1;  // an eventfd that ends the waiting thread's poll
  std::thread waiter_;
};

}  // namespace ombrevale
