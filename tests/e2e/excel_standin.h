#pragma once
// The test host's stand-in for Excel's application object: an IDispatch
// over the portable workbook model (support/fake_excel.h). Calls arrive from
// the server across processes; each is answered from the model, which logs
// its member name and its arguments with their automation types.

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "core/host/late_bound.h"

namespace atrybuty::e2e {

struct StandInControl {
  int rejectNextCalls = 0;  // that many calls are answered "busy" (RPC_E_CALL_REJECTED)
  int rejected = 0;         // how many were
};

// A new IDispatch (one reference) over `object`.
IDispatch* MakeDispatch(std::shared_ptr<LateBound> object, std::shared_ptr<StandInControl> control);

}  // namespace atrybuty::e2e
