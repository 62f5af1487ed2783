#include "backends/sdl/access/atk/GlibPump.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

namespace ombrevale {

GlibPump::GlibPump(void (*wake)(void*), void* context)
    : context_(g_main_context_default()), wake_(wake), wakeContext_(context) {
  g_main_context_acquire(context_);
  stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  waiter_ = std::thread([this] { Wait(); });
}

GlibPump::~GlibPump() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  armedChanged_.notify_one();
  const uint64_t one = 1;
  if (stopFd_ >= 0 && write(stopFd_, &one, sizeof one) < 0) {
    // The thread then ends at the context's next timeout: nothing else to do.
  }
  waiter_.join();
  if (stopFd_ >= 0) close(stopFd_);
  g_main_context_release(context_);
}

void GlibPump::Serve() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (armed_ && !fired_) return;  // still waiting: nothing came
  }
  // Something came (or this is the first call): finish the round the waiting thread polled for,
  // then everything else that is ready, and wait again.
  if (armed_) {
    if (g_main_context_check(context_, priority_, fds_.data(), static_cast<gint>(fds_.size())))
      g_main_context_dispatch(context_);
    std::lock_guard<std::mutex> lock(mutex_);
    armed_ = fired_ = false;
  }
  while (g_main_context_iteration(context_, FALSE)) {
  }
  Arm();
}

void GlibPump::Arm() {
  g_main_context_prepare(context_, &priority_);
  fds_.resize(8);
  for (;;) {
    const gint n = g_main_context_query(context_, priority_, &timeout_, fds_.data(),
                                        static_cast<gint>(fds_.size()));
    if (static_cast<size_t>(n) <= fds_.size()) {
      fds_.resize(static_cast<size_t>(n));
      break;
    }
    fds_.resize(static_cast<size_t>(n));
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    armed_ = true;
    fired_ = false;
  }
  armedChanged_.notify_one();
}

void GlibPump::Wait() {
  std::vector<pollfd> polled;
  for (;;) {
    gint timeout = -1;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      armedChanged_.wait(lock, [this] { return stopping_ || (armed_ && !fired_); });
      if (stopping_) return;
      polled.clear();
      for (const GPollFD& fd : fds_) polled.push_back({fd.fd, static_cast<short>(fd.events), 0});
      timeout = timeout_;
    }
    polled.push_back({stopFd_, POLLIN, 0});
    while (poll(polled.data(), polled.size(), timeout) < 0 && errno == EINTR) {
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) return;
      for (size_t i = 0; i < fds_.size(); ++i)
        fds_[i].revents = static_cast<gushort>(polled[i].revents);
      fired_ = true;
    }
    wake_(wakeContext_);
  }
}

}  // namespace ombrevale
