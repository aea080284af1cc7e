#pragma once
// The host workbook as the apply command sees it, every call late-bound by
// member name from the host's Excel object. Failures come back as the text
// the user is told: the member path that failed and the host's reason.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "core/host/host_path.h"

namespace atrybuty {

// workbooks.Count, or why it could not be read.
std::variant<std::int16_t, std::string> OpenWorkbookCount(const HostPath& excel);
// activeworkbook.Saved, or why it could not be read.
std::variant<bool, std::string> ActiveWorkbookSaved(const HostPath& excel);

// After a write: the active workbook is saved, closed and opened again, its
// windows restored, and the embedded objects of the sheet that was active
// refreshed ("MSMap.8" map objects by selecting them). `pumpMessages` lets the
// dialog's messages run where the map objects need it. Nothing when done,
// else why it stopped (the workbook may be closed then).
std::optional<std::string> RefreshWorkbook(const HostPath& excel, const std::function<void()>& pumpMessages);

}  // namespace atrybuty
