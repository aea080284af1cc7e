// The apply command ("&Zastosuj"): writes the line style and deals with the
// host by one of four roads: the viewer, "Nie odświeżaj arkusza" ticked, no
// workbook open, or an open workbook to save, reopen and refresh.

#include "core/form1/form1_controller.h"
#include "core/form1/form1_texts.h"
#include "core/host/host_path.h"

namespace atrybuty {
namespace {

std::string ChangeDone(const std::string& layer, const char* ending) {
  return texts::kChangeDoneBefore + texts::Quoted(layer) + ending;
}

}  // namespace

bool Form1Controller::ReportHostFailure(const std::string& what, const std::string& error, bool dataWritten) {
  std::string text = "Nie mogę " + what + " w programie Excel";
  if (!error.empty()) text += ": " + error;
  text += dataWritten ? ". Nowe atrybuty linii zostały już zapisane w pliku danych mapy; odśwież arkusz ręcznie."
                      : ". Nic nie zostało zapisane.";
  s_.messages.Show(text, MessageKind::CriticalOk, std::string(kDialogCaption));
  return false;
}

void Form1Controller::CmdAnuluj_Click() {
  if (s_.state.theAttribute) s_.state.theAttribute->isChange = true;
  view_.EnableApplyButton(false);

  if (s_.state.viewerMode) {
    if (ZmianaWarstw() == WriteOutcome::Written) {
      s_.exits.UnloadPackageDialog();
      view_.Hide();
    }
  } else if (view_.RefreshCheck() == 1) {
    // The layer name is read after the write, which may have chosen another layer.
    if (ZmianaWarstw() == WriteOutcome::Written) {
      s_.messages.Show(ChangeDone(Shown(selectedLayer_), texts::kChangeDoneA), MessageKind::InfoOk);
    }
  } else if (!s_.state.hostExcel) {
    ReportHostFailure("sprawdzić otwartych skoroszytów", "program, który otworzył okno, nie przekazał obiektu Excel",
                      false);
  } else {
    const HostPath excel(s_.state.hostExcel);
    const CallResult count = excel.Get("workbooks").Read("Count");
    const std::optional<std::int16_t> n = count.ok ? AsInt16(count.value) : std::nullopt;
    if (!n) {
      ReportHostFailure("sprawdzić otwartych skoroszytów", count.ok ? "workbooks.Count: zła wartość" : count.error,
                        false);
    } else if (*n <= 0) {
      if (ZmianaWarstw() == WriteOutcome::Written) {
        s_.messages.Show(ChangeDone(Shown(selectedLayer_), texts::kChangeDoneB), MessageKind::InfoOk);
      }
    } else {
      const CallResult saved = excel.Get("activeworkbook").Read("Saved");
      const std::optional<bool> isSaved = saved.ok ? AsBool(saved.value) : std::nullopt;
      if (!isSaved) {
        ReportHostFailure("sprawdzić stanu skoroszytu", saved.ok ? "activeworkbook.Saved: zła wartość" : saved.error,
                          false);
      } else if (*isSaved || s_.messages.Show(texts::kSaveQuestion, MessageKind::YesNoInfo,
                                              std::string(kDialogCaption)) == MessageAnswer::Yes) {
        Zmiana();
      }
    }
  }
  view_.EnableApplyButton(true);
}

}  // namespace atrybuty
