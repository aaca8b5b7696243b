// Thread services; see thread.h.
#include "platform/thread.h"

#include <system_error>
#include <thread>

namespace platform {

struct Thread::State {
  std::jthread thread;
  // Shared with the body's thread, which clears it when the body returns.
  std::shared_ptr<std::atomic<bool>> running = std::make_shared<std::atomic<bool>>(false);
};

Thread::Thread() = default;

Thread::~Thread() {
  if (state_) {
    RequestStop();
    Join();
  }
}

bool Thread::Start(Body body) {
  if (!state_) state_ = std::make_unique<State>();
  if (state_->thread.joinable()) return false;
  auto running = state_->running;
  running->store(true);
  try {
    state_->thread = std::jthread([running, body = std::move(body)](std::stop_token stop) {
      body(std::move(stop));
      running->store(false, std::memory_order_release);
    });
  } catch (const std::system_error&) {
    running->store(false);
    return false;
  }
  return true;
}

bool Thread::Running() const {
  return state_ && state_->running->load(std::memory_order_acquire);
}

void Thread::RequestStop() {
  if (state_ && state_->thread.joinable()) state_->thread.request_stop();
}

void Thread::Join() {
  if (!state_ || !state_->thread.joinable()) return;
  // A body that joins its own thread would wait for itself.
  if (state_->thread.get_id() == std::this_thread::get_id()) return;
  state_->thread.join();
}

}  // namespace platform
