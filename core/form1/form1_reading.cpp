// Reading the chosen layer's current line style into the pickers and the swatch.

#include "core/form1/form1_controller.h"
#include "core/form1/form1_texts.h"
#include "core/mapfile/data_file_path.h"
#include "core/mapfile/position_text.h"
#include "core/text/paths.h"

namespace atrybuty {

// Read anew for every read: the user may repair the installation while the
// dialog is open. An apply writes the file its read found.
std::string Form1Controller::ProgramfilesDir() {
  const std::string dir = s_.registry.ReadRegValue(kCurrentVersionKey, kProgramFilesDirValue);
  if (dir.empty()) {
    s_.messages.Show(
        "Nie mogę ustalić katalogu Program Files: w rejestrze brak wartości ProgramFilesDir klucza "
        "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion. Zainstaluj ponownie pakiet lub skontaktuj "
        "się z dostawcą oprogramowania.",
        MessageKind::CriticalOk, std::string(kDialogCaption));
    return {};
  }
  return WithTrailingSeparator(dir);
}

void Form1Controller::ReportUnreadableFile(const std::string& path, const RecordRead& read) {
  const std::string file = texts::Quoted(Shown(path));
  const std::string layer = texts::Quoted(view_.LayerListText());
  std::string text;
  switch (read.status) {
    case RecordStatus::CannotOpen:
      text = "Nie mogę otworzyć pliku danych mapy " + file + " warstwy " + layer +
             (read.error == FileError::NotAFile ? ": to nie jest zwykły plik" : "");
      break;
    case RecordStatus::TooShortForPointer:
    case RecordStatus::TooShortForRecord:
      text = "Plik danych mapy " + file + " warstwy " + layer + " jest za krótki, by zawierać atrybuty linii";
      break;
    default:
      text = "Nie mogę odczytać pliku danych mapy " + file + " warstwy " + layer;
      break;
  }
  s_.messages.Show(text + texts::kNoRecordAfter, MessageKind::InfoOk);
}

// A name that would leave the data directory, or name a device or a stream,
// is never opened: the layer is treated as one whose data file is missing.
void Form1Controller::ReportBadFileName(const std::string& plikMap, DataFileName problem) {
  const std::string why = problem == DataFileName::Device   ? " wskazuje urządzenie, a nie plik"
                          : problem == DataFileName::NotAName ? " nie jest poprawną nazwą pliku"
                                                              : " wskazuje plik poza katalogiem danych map";
  s_.messages.Show("Nazwa pliku danych mapy " + texts::Quoted(Shown(plikMap)) + " warstwy " +
                       texts::Quoted(view_.LayerListText()) + why + texts::kNoRecordAfter,
                   MessageKind::InfoOk);
}

void Form1Controller::ActualSetting(const std::string& plikMap) {
  const std::string dir = ProgramfilesDir();
  if (dir.empty()) {
    jestWarstwa_ = false;
    return;
  }
  RecordRead read;
  const DataFileName name = CheckDataFileName(plikMap);
  if (name == DataFileName::Ok) {
    // The file is closed again before any control is touched.
    read = ReadLineStyleRecord(s_.files, PathFromAnsi(s_.codec, DataFilePath(dir, plikMap)));
  }
  jestWarstwa_ = true;

  if (read.status != RecordStatus::Ok) {
    jestWarstwa_ = false;
    if (name != DataFileName::Ok) {
      ReportBadFileName(plikMap, name);
    } else if (read.status == RecordStatus::NoRecord) {
      s_.messages.Show(texts::kNoRecordBefore + texts::Quoted(view_.LayerListText()) + texts::kNoRecordAfter,
                       MessageKind::InfoOk);
    } else {
      ReportUnreadableFile(DataFilePath(dir, plikMap), read);
    }
    // Fall back to the first layer, unless it is the one that just failed:
    // reading it again would only repeat the message.
    if (view_.SelectedLayerIndex() != 0) ChooseLayer(0);
    return;
  }

  // The snapshot an apply checks the file against, and the position texts
  // the dialog keeps, derived from it.
  snapshot_ = RecordSnapshot{read.path, read.base, read.style};
  dataDirectory_ = PathFromAnsi(s_.codec, DataDirectory(dir));
  recordLayer_ = view_.SelectedLayerIndex() + 1;
  const RecordOffsets at = OffsetsOf(read.base);
  adresGrubosci_ = PositionText(at.thickness);
  adresStylu_ = PositionText(at.style);
  adresKoloru1_ = PositionText(at.red);
  adresKoloru2_ = PositionText(at.green);
  adresKoloru3_ = PositionText(at.blue);

  // Style before thickness before colour: a bad value leaves what follows it
  // as it was.
  const int style = read.style.style == 0 ? 1 : read.style.style;
  const int thickness = read.style.thickness == 0 ? 1 : read.style.thickness;
  if (style > view_.PickerCount(Picker::Style) || thickness > view_.PickerCount(Picker::Thickness)) {
    if (style <= view_.PickerCount(Picker::Style)) view_.SelectPickerItem(Picker::Style, style);
    s_.messages.Show(texts::kBadValue, MessageKind::CriticalOk, std::string(kDialogCaption));
    return;
  }
  view_.SelectPickerItem(Picker::Style, style);
  view_.SelectPickerItem(Picker::Thickness, thickness);
  view_.SetSwatchColour(ColourValue(read.style.colour));
}

}  // namespace atrybuty
