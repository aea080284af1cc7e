// Writing the dialog's colour, thickness and style into the chosen layer's
// record. The three writing steps (colour, thickness, style) each add their
// bytes to the change of this apply; the change is then written in one
// checked write against the record the last read found: one open, the
// record checked again, the journal line, the bytes, a flush. An apply that
// finds no current record writes nothing at all, so no layer the user did
// not choose is ever changed.

#include "core/form1/form1_controller.h"
#include "core/form1/form1_texts.h"
#include "core/mapfile/colour.h"
#include "core/mapfile/position_text.h"
#include "core/text/paths.h"

namespace atrybuty {

std::string Form1Controller::CurrentDataFile() const {
  const int k = view_.SelectedLayerIndex() + 1;
  return (k >= 1 && k <= layers_.LayerCount()) ? layers_.entries[k].fileName : std::string();
}

std::string Form1Controller::ShownFile() const { return texts::Quoted(Utf8FromPath(snapshot_->path)); }

WriteOutcome Form1Controller::ZmianaWarstw() {
  kolorHex_ = atrybuty::KolorHex(view_.SwatchColour());
  const int style = view_.SelectedPickerItem(Picker::Style);
  const int thickness = view_.SelectedPickerItem(Picker::Thickness);
  if (style < 1 || style > 255 || thickness < 1 || thickness > 255) {
    s_.messages.Show("Wybierz grubość i styl linii z list, a potem zastosuj zmianę ponownie. Nic nie zostało zapisane.",
                     MessageKind::CriticalOk, std::string(kDialogCaption));
    return WriteOutcome::NothingWritten;
  }
  styl_ = style;
  grubosc_ = thickness;

  // The record read last must belong to the layer chosen now; a record of
  // another layer is no current record for this one.
  if (!jestWarstwa_ || !snapshot_ || recordLayer_ != view_.SelectedLayerIndex() + 1) {
    // Each writing step says that there is no record. The first one chooses
    // the first layer, whose record then becomes current; writing into it is
    // left to a new apply, so nothing is changed that the user did not choose.
    s_.messages.Show(texts::kNoLayerColour, MessageKind::PlainOk);
    ChooseLayer(0);
    s_.messages.Show(texts::kNoLayer, MessageKind::PlainOk);
    s_.messages.Show(texts::kNoLayer, MessageKind::PlainOk);
    view_.PumpMessages();
    return WriteOutcome::NothingWritten;
  }

  pending_ = RecordChange{};
  pendingValid_ = true;
  MofyfikacjaKoloru();
  ModyfikacjaGrubosci();
  ModyfikacjaStylu();
  const WriteOutcome outcome = WritePendingChange();
  view_.PumpMessages();
  return outcome;
}

void Form1Controller::MofyfikacjaKoloru() {
  ModifyColor(CurrentDataFile(), adresKoloru1_, adresKoloru2_, adresKoloru3_);
}

void Form1Controller::ModyfikacjaGrubosci() { ModifyGruboscStyl(CurrentDataFile(), adresGrubosci_, grubosc_); }

void Form1Controller::ModyfikacjaStylu() { ModifyGruboscStyl(CurrentDataFile(), adresStylu_, styl_); }

// The position texts cross into the data-file layer here, once, and must
// name the bytes of the record the read found.
void Form1Controller::ModifyColor(const std::string&, const std::string& adres1, const std::string& adres2,
                                  const std::string& adres3) {
  if (!kolorZmieniony_) return;
  const RecordOffsets at = OffsetsOf(snapshot_->base);
  const auto colour = BytesOfKolorHex(kolorHex_);
  if (!colour || OffsetOfPosition(adres1) != at.red || OffsetOfPosition(adres2) != at.green ||
      OffsetOfPosition(adres3) != at.blue) {
    pendingValid_ = false;
    return;
  }
  pending_.colour = *colour;
}

void Form1Controller::ModifyGruboscStyl(const std::string&, const std::string& adres, std::int32_t pozycja) {
  const RecordOffsets at = OffsetsOf(snapshot_->base);
  const auto offset = OffsetOfPosition(adres);
  if (pozycja < 0 || pozycja > 255 || (offset != at.thickness && offset != at.style)) {
    pendingValid_ = false;
    return;
  }
  (offset == at.thickness ? pending_.thickness : pending_.style) = static_cast<std::uint8_t>(pozycja);
}

WriteOutcome Form1Controller::WritePendingChange() {
  if (!pendingValid_) return WriteOutcome::NothingWritten;  // positions always come from the read
  const RecordWriteResult result = WriteRecord(s_.files, *snapshot_, pending_, s_.journal,
                                               {packageName_, Shown(selectedLayer_)}, dataDirectory_);
  return ReportWrite(result, pending_);
}

void Form1Controller::ReportChangedSinceRead() {
  s_.messages.Show("Plik danych mapy " + ShownFile() +
                       " zmienił się od chwili, gdy atrybuty linii zostały z niego odczytane (zmienił go inny "
                       "program). Nic nie zostało zapisane. Atrybuty linii warstwy zostaną odczytane ponownie; "
                       "sprawdź je i zastosuj zmianę jeszcze raz.",
                   MessageKind::CriticalOk, std::string(kDialogCaption));
  Combo1_Click();  // the chosen layer, read again
}

WriteOutcome Form1Controller::ReportWrite(const RecordWriteResult& result, const RecordChange& change) {
  const std::string caption(kDialogCaption);
  const bool attempted = result.status == RecordWriteStatus::Written || result.status == RecordWriteStatus::Failed ||
                         result.status == RecordWriteStatus::FailedHalfWritten;
  if (attempted && !result.journaled && !journalWarned_) {
    // The change itself matters more than its record: it went on, but say
    // once that it cannot be undone from the journal.
    journalWarned_ = true;
    s_.messages.Show("Nie mogę dopisać zmiany do dziennika zmian " + texts::Quoted(s_.journal.Location()) +
                         ". Zmiana zostanie zapisana, ale nie będzie jej można cofnąć narzędziem atrybuty-tool.",
                     MessageKind::InfoOk);
  }
  switch (result.status) {
    case RecordWriteStatus::Written:
      // A second apply without a change writes the same bytes again.
      snapshot_->style = result.found;
      return WriteOutcome::Written;
    case RecordWriteStatus::CannotOpen:
      if (result.error == FileError::AccessDenied) return WriteAsAdministrator(change);
      s_.messages.Show("Nie mogę zapisać pliku danych mapy " + ShownFile() +
                           ": plik nie istnieje, jest tylko do odczytu albo używa go inny program. Nic nie zostało "
                           "zapisane.",
                       MessageKind::CriticalOk, caption);
      return WriteOutcome::NothingWritten;
    case RecordWriteStatus::OutsideFolder:
      s_.messages.Show("Plik danych mapy " + ShownFile() +
                           " nie leży w katalogu danych map (prowadzi do niego skrót lub dowiązanie). Nic nie zostało "
                           "zapisane.",
                       MessageKind::CriticalOk, caption);
      return WriteOutcome::NothingWritten;
    case RecordWriteStatus::TooShort:
      s_.messages.Show("Plik danych mapy " + ShownFile() +
                           " jest krótszy niż rekord atrybutów linii odczytany z niego wcześniej; mógł zostać "
                           "zmieniony przez inny program. Nic nie zostało zapisane.",
                       MessageKind::CriticalOk, caption);
      return WriteOutcome::NothingWritten;
    case RecordWriteStatus::RecordMoved:
    case RecordWriteStatus::RecordChanged:
      ReportChangedSinceRead();
      return WriteOutcome::NothingWritten;
    case RecordWriteStatus::Failed:
      s_.messages.Show("Zapis do pliku danych mapy " + ShownFile() + " nie powiódł się. Nic nie zostało zapisane.",
                       MessageKind::CriticalOk, caption);
      return WriteOutcome::WriteFailed;
    case RecordWriteStatus::FailedHalfWritten:
      s_.messages.Show("Zapis do pliku danych mapy " + ShownFile() +
                           " nie powiódł się w połowie i nie dało się przywrócić poprzednich atrybutów. Przywróć je "
                           "poleceniem \"atrybuty-tool undo\" z ostatnią zmianą z dziennika zmian.",
                       MessageKind::CriticalOk, caption);
      return WriteOutcome::WriteFailed;
    case RecordWriteStatus::NotJournaled:  // the dialog writes without the journal line, and says so
      break;
  }
  return WriteOutcome::WriteFailed;
}

// A standard user may not write below Program Files: with the user's
// consent, this one change is made as administrator, from this read.
WriteOutcome Form1Controller::WriteAsAdministrator(const RecordChange& change) {
  const std::string caption(kDialogCaption);
  if (s_.messages.Show("Nie masz uprawnień do zapisu pliku danych mapy " + ShownFile() +
                           ". Pliki map w katalogu Program Files może zmieniać tylko administrator.\r"
                           "Czy zapisać tę zmianę jako administrator? System Windows poprosi o zgodę.",
                       MessageKind::YesNoInfo, caption) != MessageAnswer::Yes) {
    return WriteOutcome::NothingWritten;
  }
  const ElevatedWrite request{*snapshot_, change, {packageName_, Shown(selectedLayer_)}, s_.journal.File()};
  const ElevationResult ran = s_.elevation.WriteAsAdministrator(request);
  if (ran.outcome == ElevationOutcome::Declined) {
    s_.messages.Show("Zapis jako administrator nie został zatwierdzony. Nic nie zostało zapisane.",
                     MessageKind::InfoOk, caption);
    return WriteOutcome::NothingWritten;
  }
  if (ran.outcome == ElevationOutcome::CannotStart) {
    s_.messages.Show("Nie mogę uruchomić zapisu jako administrator" + (ran.why.empty() ? "" : ": " + ran.why) +
                         ". Nic nie zostało zapisane.",
                     MessageKind::CriticalOk, caption);
    return WriteOutcome::NothingWritten;
  }
  // What the file holds now decides, whatever the elevated step said.
  const RecordRead now = ReadLineStyleRecord(s_.files, snapshot_->path);
  const LineStyle target = change.Over(snapshot_->style);
  if (now.status == RecordStatus::Ok && now.base == snapshot_->base && now.style == target) {
    snapshot_->style = now.style;
    return WriteOutcome::Written;
  }
  const auto status = StatusOfElevatedExit(ran.exitCode);
  if (status == RecordWriteStatus::RecordMoved || status == RecordWriteStatus::RecordChanged) {
    ReportChangedSinceRead();
    return WriteOutcome::NothingWritten;
  }
  const bool untouched = now.status == RecordStatus::Ok && now.base == snapshot_->base && now.style == snapshot_->style;
  s_.messages.Show("Zapis jako administrator do pliku danych mapy " + ShownFile() + " nie powiódł się" +
                       " (kod " + std::to_string(ran.exitCode) + ")" +
                       (untouched ? ". Nic nie zostało zapisane." : ". Sprawdź atrybuty linii tej warstwy."),
                   MessageKind::CriticalOk, caption);
  return untouched ? WriteOutcome::NothingWritten : WriteOutcome::WriteFailed;
}

}  // namespace atrybuty
