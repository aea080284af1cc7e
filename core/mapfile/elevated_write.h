#pragma once
// One record change made as administrator: a standard user may not write
// the data files below Program Files, so the dialog can have this one change
// made by an elevated copy of the server (with the user's consent). The
// request travels on that program's command line; the elevated step runs
// the same checked write as the dialog, from the record the dialog read, and
// appends to the journal of the user who asked.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/mapfile/record_write.h"

namespace atrybuty {

struct ElevatedWrite {
  RecordSnapshot snapshot;
  RecordChange change;
  ChangeContext context;
  std::filesystem::path journal;  // empty: the change is not recorded
  friend bool operator==(const ElevatedWrite&, const ElevatedWrite&) = default;
};

// The request as command-line arguments (UTF-8) and back; nothing for
// arguments that are not exactly such a request.
std::vector<std::string> ElevatedWriteArguments(const ElevatedWrite& request);
std::optional<ElevatedWrite> ParseElevatedWrite(const std::vector<std::string>& arguments);

// The elevated step's exit code: 0 for written, else 1 + the status.
int ElevatedExitCode(RecordWriteStatus status);
std::optional<RecordWriteStatus> StatusOfElevatedExit(unsigned long exitCode);

}  // namespace atrybuty
