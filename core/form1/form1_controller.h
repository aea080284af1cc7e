#pragma once
// Form1's behaviour: the layer list, the current line style, the pickers, the
// colour entry, writing, the apply command, the workbook refresh and the
// exits. The Win32 dialog only moves values between its controls and this
// controller; each handler is named after the event it serves.
//
// A controller lives for one load of the dialog, so every member starts
// afresh when the dialog is loaded again and an apply can never write into a
// record read before that load.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "core/config/layer_table.h"
#include "core/config/registry.h"
#include "core/form1/elevation.h"
#include "core/form1/form1_view.h"
#include "core/form1/message_boxes.h"
#include "core/host/late_bound.h"
#include "core/mapfile/data_file_path.h"
#include "core/mapfile/data_files.h"
#include "core/mapfile/journal.h"
#include "core/mapfile/record_write.h"
#include "core/text/codec.h"

namespace atrybuty {

// What kind of failure a host's `RunForm` ends with; each reaches the host as
// an automation error of its own number.
enum class HostErrorKind {
  ConfigurationUnreadable,  // the clear copy of the configuration cannot be read
  LayerCountMissing,        // no MapCount in [Global]
  LayerCountInvalid,        // MapCount is not a number, negative, or above 32767
  NoLayers,                 // MapCount=0
  DialogFailed,             // a dialog could not be created
  Busy,                     // the dialog is in the middle of a message or an apply
};

// An error the host receives from `RunForm`: an automation error with this
// description (UTF-8).
struct HostError {
  HostErrorKind kind = HostErrorKind::DialogFailed;
  std::string description;
};

// The process-wide values the dialog reads, and TheAttribute, whose IsChange
// it writes.
class Form1Process {
 public:
  virtual ~Form1Process() = default;
  virtual const std::string& FromExec() const = 0;
  virtual bool ViewerMode() const = 0;
  virtual bool MultiPackage() const = 0;
  virtual const std::string& ConfigTempPath() const = 0;  // ANSI
  // The layer table of ConfigTempPath when RunForm had it read in the
  // background, once; nothing when the load is to read it itself.
  virtual std::optional<LayerTableResult> TakeLayerTable() = 0;
  virtual std::shared_ptr<LateBound> HostExcel() const = 0;
  virtual void SetIsChange(bool value) = 0;  // on TheAttribute, when there is one
};

inline constexpr char kFromExec[] = "FROM_EXEC";

// What Form1's exits do to the dialogs and the process.
class Form1Exits {
 public:
  virtual ~Form1Exits() = default;
  // Unloads Form1; the handler that asked for it still runs to its end.
  virtual void UnloadMainDialog() = 0;
  virtual void UnloadPackageDialog() = 0;
  // RunForm on TheAttribute; its error, if any.
  virtual std::optional<HostError> RunFormAgain() = 0;
  // Ends the component's process at once.
  virtual void EndProcess() = 0;
};

struct Form1Services {
  Form1Process& process;
  Registry& registry;
  const TextCodec& codec;
  MessageBoxes& messages;
  Journal& journal;
  Form1Exits& exits;
  DataFiles& files;
  Elevation& elevation;
};

// How an apply ended for the data file.
enum class WriteOutcome {
  Written,         // the record of the chosen layer holds the dialog's values
  NothingWritten,  // refused before any byte changed; the user was told why
  WriteFailed,     // a write failed after the check; the user was told
};

class Form1Controller {
 public:
  // `packageName` is the chosen package (UTF-8), named in messages and the journal.
  Form1Controller(Form1View& view, Form1Services services, std::string packageName);

  // Event handlers.
  std::optional<HostError> Form_Load();
  void Combo1_Click();
  void ImgComboGr_Change();
  void ImgComboSt_Change();
  void LblColor_Click();
  void CmdAnuluj_Click();  // serves the button captioned "&Zastosuj" (the apply command)
  void Command1_Click();   // "&Anuluj"
  void CmdChange_Click();  // "&Wybierz mapę"
  void Form_Terminate();

  // Members, as the dialog keeps them.
  const std::string& SelectedLayer() const { return selectedLayer_; }  // ANSI
  bool JestWarstwa() const { return jestWarstwa_; }
  const std::string& AdresGrubosci() const { return adresGrubosci_; }
  const std::string& AdresStylu() const { return adresStylu_; }
  const std::string& AdresKoloru1() const { return adresKoloru1_; }
  const std::string& AdresKoloru2() const { return adresKoloru2_; }
  const std::string& AdresKoloru3() const { return adresKoloru3_; }
  bool KolorZmieniony() const { return kolorZmieniony_; }
  const std::string& KolorHex() const { return kolorHex_; }
  std::int32_t Grubosc() const { return grubosc_; }
  std::int32_t Styl() const { return styl_; }
  const LayerTable& Layers() const { return layers_; }
  // The record read last, which an apply checks the file against.
  const std::optional<RecordSnapshot>& Snapshot() const { return snapshot_; }

  // Writes the dialog's colour, thickness and style into the chosen layer's
  // data file (the apply command and the refresh call it).
  WriteOutcome ZmianaWarstw();

 private:
  // Layer list and pickers.
  std::optional<HostError> ComboSetting();
  void ChooseLayer(int index);  // sets Combo1's position and runs the layer choice

  // Reading.
  std::string ProgramfilesDir();
  void ActualSetting(const std::string& plikMap);
  void ReportUnreadableFile(const std::string& path, const RecordRead& read);
  void ReportBadFileName(const std::string& plikMap, DataFileName problem);

  // Colour entry.
  std::string kolor();

  // Writing: the three steps add their bytes to the pending change, which
  // is then written in one checked write.
  void MofyfikacjaKoloru();
  void ModyfikacjaGrubosci();
  void ModyfikacjaStylu();
  void ModifyColor(const std::string& plikMap, const std::string& adres1, const std::string& adres2,
                   const std::string& adres3);
  void ModifyGruboscStyl(const std::string& plikMap, const std::string& adres, std::int32_t pozycja);
  std::string CurrentDataFile() const;
  WriteOutcome WritePendingChange();
  WriteOutcome ReportWrite(const RecordWriteResult& result, const RecordChange& change);
  WriteOutcome WriteAsAdministrator(const RecordChange& change);
  void ReportChangedSinceRead();

  // Host workbook.
  void Zmiana();
  void ReportHostFailure(const std::string& what, const std::string& error, bool dataWritten);

  // A text for messages: ANSI data (names, paths) as UTF-8.
  std::string Shown(const std::string& ansi) const { return s_.codec.AnsiToUtf8(ansi); }
  std::string ShownFile() const;

  Form1View& view_;
  Form1Services s_;
  std::string packageName_;
  LayerTable layers_;

  std::string selectedLayer_;
  bool jestWarstwa_ = false;
  int recordLayer_ = 0;                     // the layer (1-based) whose record the snapshot holds
  std::optional<RecordSnapshot> snapshot_;  // the record read last
  std::filesystem::path dataDirectory_;     // the folder the snapshot's file must lie in
  std::string adresGrubosci_, adresStylu_, adresKoloru1_, adresKoloru2_, adresKoloru3_;
  bool kolorZmieniony_ = false;
  std::string kolorHex_;
  std::int32_t grubosc_ = 0;
  std::int32_t styl_ = 0;
  RecordChange pending_;        // filled by the writing steps of one apply
  bool pendingValid_ = true;    // false when a step found a position outside the record
  bool journalWarned_ = false;
};

}  // namespace atrybuty
