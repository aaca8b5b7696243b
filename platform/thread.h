// A worker thread that the GUI thread starts, polls without waiting, asks
// to stop and joins. The worker never waits for the GUI thread: what it
// produces for the GUI it posts (fw::PostToWindow).
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <stop_token>

namespace platform {

class Thread {
 public:
  using Body = std::function<void(std::stop_token)>;

  Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;
  // Requests a stop and joins.
  ~Thread();

  // Starts `body` on a new thread; it should test the token between units
  // of work (between two files) and return when a stop is requested. False
  // when the thread could not be started or one started earlier has not
  // been joined yet.
  bool Start(Body body);
  // Whether the body is still running; never blocks. False before Start.
  bool Running() const;
  // Asks the body to stop; returns at once.
  void RequestStop();
  // Waits for the body to return; does nothing when not started or
  // already joined. After Join, Start may be called again.
  void Join();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform
