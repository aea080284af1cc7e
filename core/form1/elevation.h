#pragma once
// Having one record change made as administrator, with the user's consent
// (a UAC prompt on Windows). While it runs, the dialog keeps painting and
// takes no input.

#include "core/mapfile/elevated_write.h"

namespace atrybuty {

enum class ElevationOutcome {
  Ran,          // the elevated step ran; its exit code says how it ended
  Declined,     // the user did not consent: nothing was written
  CannotStart,  // it could not be started: nothing was written
};

struct ElevationResult {
  ElevationOutcome outcome = ElevationOutcome::CannotStart;
  unsigned long exitCode = 0;
  std::string why;  // CannotStart: the system's reason (UTF-8)
};

class Elevation {
 public:
  virtual ~Elevation() = default;
  virtual ElevationResult WriteAsAdministrator(const ElevatedWrite& request) = 0;
};

}  // namespace atrybuty
