#pragma once
// Calls into the host's automation objects by member name: the one helper
// every call into Excel goes through. Arguments are filled back to front,
// property assignments carry DISPID_PROPERTYPUT, and a host that is busy
// (it rejects calls while a cell is edited or a dialog is open) is asked
// again for a bounded time.

#include <windows.h>
#include <oaidl.h>

#include <chrono>
#include <functional>
#include <memory>

#include "win32/com/com_ptr.h"
#include "core/host/late_bound.h"

namespace atrybuty::win32 {

struct RetryPolicy {
  std::chrono::milliseconds total{10000};  // how long a busy host is asked again
  std::chrono::milliseconds pause{100};    // between two attempts
  // How a pause is spent: the server's dialogs keep painting meanwhile.
  std::function<void(std::chrono::milliseconds)> wait = [](std::chrono::milliseconds t) {
    Sleep(static_cast<DWORD>(t.count()));
  };
};

std::shared_ptr<LateBound> MakeLateBound(ComPtr<IDispatch> object, RetryPolicy retry = {});

}  // namespace atrybuty::win32
