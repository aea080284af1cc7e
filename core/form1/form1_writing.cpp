// Writing the dialog's colour, thickness and style into the chosen layer's
// record, in the order colour, thickness, style.
//
// Before the first byte changes, every byte of the record is checked to lie
// inside the file and the file to open for writing; the journal then records
// the bytes as they were. An apply that finds no current record writes
// nothing at all, so no layer the user did not choose is ever changed.

#include <array>

#include "core/form1/form1_controller.h"
#include "core/form1/form1_texts.h"
#include "core/mapfile/colour.h"
#include "core/mapfile/data_file_path.h"
#include "core/mapfile/position_text.h"

namespace atrybuty {

std::string Form1Controller::CurrentDataFile() const {
  const int k = view_.SelectedLayerIndex() + 1;
  return (k >= 1 && k <= layers_.LayerCount()) ? layers_.entries[k].fileName : std::string();
}

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
  if (!jestWarstwa_ || recordLayer_ != view_.SelectedLayerIndex() + 1) {
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

  if (!CheckAndJournal(CurrentDataFile())) return WriteOutcome::NothingWritten;
  const bool written = MofyfikacjaKoloru() && ModyfikacjaGrubosci() && ModyfikacjaStylu();
  view_.PumpMessages();
  return written ? WriteOutcome::Written : WriteOutcome::WriteFailed;
}

bool Form1Controller::CheckAndJournal(const std::string& plikMap) {
  const std::string dir = ProgramfilesDir();
  if (dir.empty()) return false;
  const std::string path = DataFilePath(dir, plikMap);
  const std::array<const std::string*, 5> positions = {&adresGrubosci_, &adresStylu_, &adresKoloru1_, &adresKoloru2_,
                                                       &adresKoloru3_};
  std::array<BytePatch, 5> all{};
  for (std::size_t i = 0; i < positions.size(); ++i) {
    const auto offset = OffsetOfPosition(*positions[i]);
    if (!offset) return false;  // position texts always come from a read; this cannot happen
    all[i] = {*offset, 0};
  }

  const WriteResult check = PatchBytes(path, all, /*dryRun=*/true);
  if (check.status != WriteStatus::Ok) {
    const std::string file = texts::Quoted(Shown(path));
    std::string why = check.status == WriteStatus::BeyondEnd
                          ? "Plik danych mapy " + file +
                                " jest krótszy niż rekord atrybutów linii odczytany z niego "
                                "wcześniej; mógł zostać zmieniony przez inny program."
                          : "Nie mogę zapisać pliku danych mapy " + file +
                                ": plik nie istnieje, jest tylko do odczytu albo używa go inny program.";
    s_.messages.Show(why + " Nic nie zostało zapisane.", MessageKind::CriticalOk, std::string(kDialogCaption));
    return false;
  }

  JournalEntry entry{JournalTimeNow(), packageName_, Shown(selectedLayer_), Shown(path), {}};
  const RgbBytes colour = BytesOfKolorHex(kolorHex_).value_or(RgbBytes{});
  const std::array<std::uint8_t, 5> planned = {static_cast<std::uint8_t>(grubosc_), static_cast<std::uint8_t>(styl_),
                                               colour.red, colour.green, colour.blue};
  for (std::size_t i = 0; i < all.size(); ++i) {
    const bool written = i < 2 || kolorZmieniony_;
    entry.bytes.push_back({all[i].offset, check.oldBytes[i], written ? planned[i] : check.oldBytes[i]});
  }
  if (!s_.journal.Append(entry) && !journalWarned_) {
    // The change itself matters more than its record: go on, but say once
    // that this change cannot be undone from the journal.
    journalWarned_ = true;
    s_.messages.Show("Nie mogę dopisać zmiany do dziennika zmian " + texts::Quoted(s_.journal.Location()) +
                         ". Zmiana zostanie zapisana, ale nie będzie jej można cofnąć narzędziem atrybuty-tool.",
                     MessageKind::InfoOk);
  }
  return true;
}

bool Form1Controller::MofyfikacjaKoloru() {
  return ModifyColor(CurrentDataFile(), adresKoloru1_, adresKoloru2_, adresKoloru3_);
}

bool Form1Controller::ModyfikacjaGrubosci() { return ModifyGruboscStyl(CurrentDataFile(), adresGrubosci_, grubosc_); }

bool Form1Controller::ModyfikacjaStylu() { return ModifyGruboscStyl(CurrentDataFile(), adresStylu_, styl_); }

bool Form1Controller::ModifyColor(const std::string& plikMap, const std::string& adres1, const std::string& adres2,
                                  const std::string& adres3) {
  if (!kolorZmieniony_) return true;
  const auto colour = BytesOfKolorHex(kolorHex_);
  const auto red = OffsetOfPosition(adres1), green = OffsetOfPosition(adres2), blue = OffsetOfPosition(adres3);
  if (!colour || !red || !green || !blue) return false;
  const BytePatch patches[] = {{*red, colour->red}, {*green, colour->green}, {*blue, colour->blue}};
  return WriteBytes(plikMap, patches);
}

bool Form1Controller::ModifyGruboscStyl(const std::string& plikMap, const std::string& adres, std::int32_t pozycja) {
  const auto offset = OffsetOfPosition(adres);
  if (!offset || pozycja < 0 || pozycja > 255) return false;
  const BytePatch patch[] = {{*offset, static_cast<std::uint8_t>(pozycja)}};
  return WriteBytes(plikMap, patch);
}

bool Form1Controller::WriteBytes(const std::string& plikMap, std::span<const BytePatch> patches) {
  const std::string dir = ProgramfilesDir();
  if (dir.empty()) return false;
  const std::string path = DataFilePath(dir, plikMap);
  if (PatchBytes(path, patches).status == WriteStatus::Ok) return true;
  s_.messages.Show("Zapis do pliku danych mapy " + texts::Quoted(Shown(path)) +
                       " nie powiódł się. Część nowych atrybutów linii mogła zostać zapisana; poprzednie są w "
                       "dzienniku zmian.",
                   MessageKind::CriticalOk, std::string(kDialogCaption));
  return false;
}

}  // namespace atrybuty
