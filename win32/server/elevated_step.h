#pragma once
// The elevated step: "atrybuty.exe /WriteRecord FILE BASE OLD THICKNESS STYLE
// COLOUR JOURNAL PACKAGE LAYER", started as administrator by a dialog whose
// user may not write the data file. It makes the same checked write as the
// dialog, from the record the dialog read, only inside this computer's map
// data folder, and appends to the journal of the user who asked.

#include <string>
#include <vector>

namespace atrybuty::win32 {

// The arguments after the switch; returns the process's exit code (0 when
// written; see ElevatedExitCode).
int RunElevatedStep(const std::vector<std::wstring>& arguments);

}  // namespace atrybuty::win32
