#pragma once
// When the server process may leave. It stays while an object exists, a host
// locks it, a dialog is on screen or one of its handlers runs, and, when COM
// started it, until the first object came or the start wait is over. When
// nothing holds it, it leaves a moment later, and only if nothing took hold
// of it meanwhile: the moment lets COM send the reply to the last release.

#include <functional>

namespace atrybuty {

class ProcessLifetime {
 public:
  struct Hooks {
    std::function<bool()> dialogsHold;   // a dialog is shown or a handler of it runs
    std::function<void()> scheduleLeave;  // call LeaveNow a moment from now
    std::function<void()> leave;          // the process leaves now
  };
  ProcessLifetime(bool startedByCom, Hooks hooks) : startWaitOver_(!startedByCom), hooks_(std::move(hooks)) {}

  void ObjectCreated();
  void ObjectDestroyed();
  void Lock(bool lock);
  void StartWaitOver();
  // Something else that holds the process changed (a dialog came or went).
  void Changed() { MaybeLeave(); }
  // The moment after nothing held has come.
  void LeaveNow();
  bool Held() const;

 private:
  void MaybeLeave();

  long objects_ = 0;
  long locks_ = 0;
  bool objectSeen_ = false;
  bool startWaitOver_;
  bool leaving_ = false;
  Hooks hooks_;
};

}  // namespace atrybuty
