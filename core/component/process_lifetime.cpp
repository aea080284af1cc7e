#include "core/component/process_lifetime.h"

namespace atrybuty {

void ProcessLifetime::ObjectCreated() {
  ++objects_;
  objectSeen_ = true;
}

void ProcessLifetime::ObjectDestroyed() {
  --objects_;
  MaybeLeave();
}

void ProcessLifetime::Lock(bool lock) {
  locks_ += lock ? 1 : -1;
  MaybeLeave();
}

void ProcessLifetime::StartWaitOver() {
  startWaitOver_ = true;
  MaybeLeave();
}

bool ProcessLifetime::Held() const {
  return objects_ > 0 || locks_ > 0 || hooks_.dialogsHold() || (!objectSeen_ && !startWaitOver_);
}

void ProcessLifetime::MaybeLeave() {
  if (leaving_ || Held()) return;
  leaving_ = true;
  hooks_.scheduleLeave();
}

// An object, a lock or a dialog may have come since the leave was scheduled.
void ProcessLifetime::LeaveNow() {
  if (!leaving_) return;
  leaving_ = false;
  if (!Held()) hooks_.leave();
}

}  // namespace atrybuty
