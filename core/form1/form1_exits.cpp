// The ways out of Form1: cancel, choosing another map package, termination.

#include "core/form1/form1_controller.h"

namespace atrybuty {

void Form1Controller::Command1_Click() {
  s_.process.SetIsChange(false);
  if (s_.process.FromExec() == kFromExec) {
    s_.exits.EndProcess();
    return;
  }
  s_.exits.UnloadPackageDialog();
  s_.exits.UnloadMainDialog();
}

void Form1Controller::CmdChange_Click() {
  s_.exits.UnloadMainDialog();
  s_.exits.UnloadPackageDialog();
  if (const auto error = s_.exits.RunFormAgain()) {
    s_.messages.Show("Nie mogę otworzyć wybranej mapy. " + error->description, MessageKind::CriticalOk,
                     std::string(kDialogCaption));
  }
}

void Form1Controller::Form_Terminate() { s_.exits.UnloadMainDialog(); }

}  // namespace atrybuty
