// The apply command ("&Zastosuj"): writes the line style and deals with the
// host by one of four roads: the viewer, "Nie odświeżaj arkusza" ticked, no
// workbook open, or an open workbook to save, reopen and refresh (Zmiana).

#include "core/form1/form1_controller.h"
#include "core/form1/form1_texts.h"
#include "core/host/host_path.h"
#include "core/host/workbook_refresh.h"

namespace atrybuty {
namespace {

std::string ChangeDone(const std::string& layer, const char* ending) {
  return texts::kChangeDoneBefore + texts::Quoted(layer) + ending;
}

}  // namespace

void Form1Controller::ReportHostFailure(const std::string& what, const std::string& error, bool dataWritten) {
  std::string text = "Nie mogę " + what + " w programie Excel";
  if (!error.empty()) text += ": " + error;
  text += dataWritten ? ". Nowe atrybuty linii zostały już zapisane w pliku danych mapy; odśwież arkusz ręcznie."
                      : ". Nic nie zostało zapisane.";
  s_.messages.Show(text, MessageKind::CriticalOk, std::string(kDialogCaption));
}

void Form1Controller::CmdAnuluj_Click() {
  s_.process.SetIsChange(true);
  view_.EnableApplyButton(false);

  if (s_.process.ViewerMode()) {
    if (ZmianaWarstw() == WriteOutcome::Written) {
      s_.exits.UnloadPackageDialog();
      view_.Hide();
    }
  } else if (view_.RefreshCheck() == 1) {
    // The layer name is read after the write, which may have chosen another layer.
    if (ZmianaWarstw() == WriteOutcome::Written) {
      s_.messages.Show(ChangeDone(Shown(selectedLayer_), texts::kChangeDoneA), MessageKind::InfoOk);
    }
  } else if (!s_.process.HostExcel()) {
    ReportHostFailure("sprawdzić otwartych skoroszytów", "program, który otworzył okno, nie przekazał obiektu Excel",
                      false);
  } else {
    const HostPath excel(s_.process.HostExcel());
    const auto count = OpenWorkbookCount(excel);
    if (const auto* error = std::get_if<std::string>(&count)) {
      ReportHostFailure("sprawdzić otwartych skoroszytów", *error, false);
    } else if (std::get<std::int16_t>(count) <= 0) {
      if (ZmianaWarstw() == WriteOutcome::Written) {
        s_.messages.Show(ChangeDone(Shown(selectedLayer_), texts::kChangeDoneB), MessageKind::InfoOk);
      }
    } else {
      const auto saved = ActiveWorkbookSaved(excel);
      if (const auto* error = std::get_if<std::string>(&saved)) {
        ReportHostFailure("sprawdzić stanu skoroszytu", *error, false);
      } else if (std::get<bool>(saved) || s_.messages.Show(texts::kSaveQuestion, MessageKind::YesNoInfo,
                                                           std::string(kDialogCaption)) == MessageAnswer::Yes) {
        Zmiana();
      }
    }
  }
  view_.EnableApplyButton(true);
}

// The write, then the workbook saved, closed, reopened and refreshed.
void Form1Controller::Zmiana() {
  if (ZmianaWarstw() != WriteOutcome::Written) return;
  if (const auto error = RefreshWorkbook(HostPath(s_.process.HostExcel()), [this] { view_.PumpMessages(); })) {
    ReportHostFailure("odświeżyć arkusza", *error, true);
  }
}

}  // namespace atrybuty
