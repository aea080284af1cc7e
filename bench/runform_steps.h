#pragma once
// RunForm's steps, timed one by one in the benchmark's own process with the
// server's own code. The server runs in a process of its own under Wine and
// cannot be looked into without timing code in it; here the same functions
// run in RunForm's order (its registry reads, the temporary copy, the Form1
// window from the server's own dialog template and manifest with the profile
// parse and the layer table on a second thread beside it, the list fill, the
// pickers, the window shown), so each step's share of the server's figure
// can be told. The first layer's line, the caption and the call through COM
// are left out: they are what remains of the server's own figure beside the
// sum of these.

#include <optional>
#include <string>
#include <vector>

namespace atrybuty::bench {

struct RunFormSteps {
  double registry = 0;       // the package list and the package's path
  double temporaryCopy = 0;  // read, unscramble, write the clear copy
  double window = 0;         // the dialog made, its controls and pictures set up
  double parse = 0;          // on a second thread, beside the window: the clear copy read and parsed
  double layerTable = 0;     // on that thread: every layer looked up, the parsed profile freed
  double tableWait = 0;      // the window made, waiting for that thread
  double listFill = 0;
  double pickers = 0;        // both pickers filled, the first layer selected, the controls hooked
  double shown = 0;
  int layers = 0;  // in the list when the window was shown

  // The time on the UI thread, in RunForm's order.
  double Sum() const { return registry + temporaryCopy + window + tableWait + listFill + pickers + shown; }
};

// Runs the steps for the installed package `ansiName` `runs` times, with the
// dialog resources and manifest of the server at `serverExe`; nothing when
// they cannot be loaded.
std::optional<std::vector<RunFormSteps>> TimeRunFormSteps(const std::wstring& serverExe, const std::string& ansiName,
                                                          int runs);

}  // namespace atrybuty::bench
