#include "win32/com/line_styles.h"

#include <algorithm>
#include <utility>
#include <memory>

#include "core/config/file_bytes.h"
#include "core/config/package_configuration.h"
#include "core/mapfile/data_file_path.h"
#include "core/mapfile/package_styles.h"
#include "core/mapfile/record_undo.h"
#include "core/text/paths.h"
#include "win32/com/items_object.h"
#include "win32/com/journal_time.h"
#include "win32/config/win_registry.h"
#include "win32/mapfile/journal_location.h"
#include "win32/mapfile/win_data_files.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {
namespace {

// What every object of the class shares: the platform's services, stateless.
struct Services {
  WinRegistry registry;
  WinDataFiles files;
  AnsiCodec codec;

  FileJournal Journal() const {
    const std::filesystem::path path = JournalPath();
    return FileJournal(path, Utf8FromPath(path));
  }
  // The map data folder of this computer; empty when Program Files is unknown.
  std::filesystem::path MapData() {
    const std::string programFiles = registry.ReadRegValue(kCurrentVersionKey, kProgramFilesDirValue);
    return programFiles.empty() ? std::filesystem::path() : PathFromAnsi(codec, DataDirectory(programFiles));
  }
};

HRESULT ReturnText(const std::string& utf8, BSTR* out) { return out ? ReturnBstr(Utf8ToWide(utf8), out) : E_POINTER; }

std::string TextOf(BSTR b) { return WideToUtf8(b ? std::wstring_view(b, SysStringLen(b)) : std::wstring_view()); }

template <typename I>
IDispatch* AsDispatch(I* object) {
  return static_cast<IDispatch*>(object);
}

// ---- LineStyle: a record as read. ----

class LineStyleObject final : public DualObject<ILineStyle> {
 public:
  LineStyleObject(ObjectRegistry& registry, RecordRead read, std::string dataFile)
      : DualObject(registry), read_(std::move(read)), dataFile_(std::move(dataFile)) {}
  STDMETHODIMP get_HasRecord(VARIANT_BOOL* v) override {
    if (!v) return E_POINTER;
    *v = Has() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  STDMETHODIMP get_Thickness(long* v) override { return Number(Has() ? read_.style.thickness : 0, v); }
  STDMETHODIMP get_Style(long* v) override { return Number(Has() ? read_.style.style : 0, v); }
  STDMETHODIMP get_Color(OLE_COLOR* v) override {
    if (!v) return E_POINTER;
    *v = Has() ? ColourValue(read_.style.colour) : 0;
    return S_OK;
  }
  STDMETHODIMP get_DataFile(BSTR* v) override { return ReturnText(dataFile_, v); }

 private:
  bool Has() const { return read_.status == RecordStatus::Ok; }
  static HRESULT Number(long n, long* v) {
    if (!v) return E_POINTER;
    *v = n;
    return S_OK;
  }
  RecordRead read_;
  std::string dataFile_;
};

// The optional argument of a host: nothing when it was left out.
std::optional<long> OptionalNumber(const VARIANT& v, bool& bad) {
  const VARIANT* p = &v;
  if (V_VT(p) == (VT_VARIANT | VT_BYREF)) p = V_VARIANTREF(p);
  if (V_VT(p) == VT_ERROR && V_ERROR(p) == DISP_E_PARAMNOTFOUND) return std::nullopt;
  if (V_VT(p) == VT_EMPTY) return std::nullopt;
  Variant number;
  if (FAILED(VariantChangeType(number.Get(), const_cast<VARIANT*>(p), 0, VT_I4))) {
    bad = true;
    return std::nullopt;
  }
  return V_I4(number.Get());
}

HRESULT WriteFailure(ObjectRegistry& registry, const RecordWriteResult& w, const std::string& layer) {
  HRESULT hr = kWriteFailed;
  switch (w.status) {
    case RecordWriteStatus::CannotOpen:
      hr = w.error == FileError::AccessDenied ? kAccessDenied
           : w.error == FileError::NotFound   ? kDataFileUnreadable
                                              : kDataFileNotWritable;
      break;
    case RecordWriteStatus::OutsideFolder:
      hr = kDataFileNotWritable;
      break;
    case RecordWriteStatus::RecordMoved:
    case RecordWriteStatus::RecordChanged:
      hr = kChangedSinceRead;
      break;
    case RecordWriteStatus::TooShort:
      hr = kDataFileUnreadable;
      break;
    default:
      break;
  }
  return LineStylesError(registry, hr,
                         "Nie mogę zapisać stylu linii warstwy \"" + layer + "\": " + DescribeInPolish(w) + ".");
}

// ---- Layer. ----

class LayerObject final : public DualObject<ILayer> {
 public:
  LayerObject(ObjectRegistry& registry, std::shared_ptr<PackageStyles> package, int number,
              std::shared_ptr<Services> services)
      : DualObject(registry), package_(std::move(package)), number_(number), services_(std::move(services)) {}

  STDMETHODIMP get_Name(BSTR* v) override { return ReturnText(package_->LayerName(number_), v); }
  STDMETHODIMP get_Number(long* v) override {
    if (!v) return E_POINTER;
    *v = number_;
    return S_OK;
  }
  STDMETHODIMP get_DataFile(BSTR* v) override { return ReturnText(package_->DataFileName(number_), v); }
  STDMETHODIMP get_LineStyle(ILineStyle** v) override {
    if (!v) return E_POINTER;
    *v = nullptr;
    return LineStylesGuarded(Registry(), [&]() -> HRESULT {
      const RecordRead read = package_->Read(number_);
      if (read.status != RecordStatus::Ok && read.status != RecordStatus::NoRecord) {
        return LineStylesError(Registry(), kDataFileUnreadable,
                               "Nie mogę odczytać stylu linii warstwy \"" + package_->LayerName(number_) +
                                   "\" z pliku " + package_->DataFileName(number_) + ": " + DescribeInPolish(read) +
                                   ".");
      }
      *v = new LineStyleObject(Registry(), read, package_->DataFileName(number_));
      return S_OK;
    });
  }
  STDMETHODIMP SetLineStyle(VARIANT thickness, VARIANT style, VARIANT colour) override {
    return LineStylesGuarded(Registry(), [&]() -> HRESULT {
      const std::string layer = package_->LayerName(number_);
      bool bad = false;
      const auto t = OptionalNumber(thickness, bad), s = OptionalNumber(style, bad), c = OptionalNumber(colour, bad);
      if (bad || (t && (*t < 1 || *t > 7)) || (s && (*s < 1 || *s > 77)) || (c && (*c < 0 || *c > 0xFFFFFF))) {
        return LineStylesError(
            Registry(), kValueOutOfRange,
            "Zła wartość stylu linii warstwy \"" + layer +
                "\": Thickness to liczba od 1 do 7, Style od 1 do 77, Color wartość RGB od 0 do 16777215.");
      }
      if (!t && !s && !c) return S_OK;  // nothing asked for
      const RecordRead read = package_->Read(number_);
      if (read.status == RecordStatus::NoRecord) {
        return LineStylesError(Registry(), kNoRecord,
                               "Plik danych " + package_->DataFileName(number_) + " warstwy \"" + layer +
                                   "\" nie zawiera rekordu stylu linii; nic nie zostało zapisane.");
      }
      if (read.status != RecordStatus::Ok) {
        return LineStylesError(Registry(), kDataFileUnreadable,
                               "Nie mogę odczytać pliku danych " + package_->DataFileName(number_) + " warstwy \"" +
                                   layer + "\": " + DescribeInPolish(read) + "; nic nie zostało zapisane.");
      }
      RecordChange change{static_cast<std::uint8_t>(t.value_or(read.style.thickness)),
                          static_cast<std::uint8_t>(s.value_or(read.style.style)), std::nullopt};
      if (c) change.colour = ColourBytes(static_cast<std::uint32_t>(*c));
      FileJournal journal = services_->Journal();
      const RecordWriteResult w = package_->Write(number_, read, change, journal);
      return w.status == RecordWriteStatus::Written ? S_OK : WriteFailure(Registry(), w, layer);
    });
  }

 private:
  std::shared_ptr<PackageStyles> package_;
  int number_;
  std::shared_ptr<Services> services_;
};

std::string PackageFailureText(const PackageFailure& f, const std::string& name, const TextCodec& codec) {
  switch (f.error) {
    case PackageError::NotInstalled:
      return "Pakiet map \"" + name + "\" nie jest zainstalowany.";
    case PackageError::Unreadable:
      return "Nie mogę odczytać konfiguracji pakietu map \"" + name + "\".";
    case PackageError::BadLayerTable:
      break;
  }
  return LayerTableFailureInPolish(f.layerTable, name, codec);
}

HRESULT PackageFailureCode(const PackageFailure& f) {
  if (f.error == PackageError::NotInstalled) return kPackageNotInstalled;
  if (f.error == PackageError::Unreadable) return kConfigurationUnreadable;
  if (f.layerTable.error == LayerTableError::CountMissing) return kLayerCountMissing;
  return kLayerCountInvalid;
}

// Without Program Files the map data folder is unknown, and no data file is
// opened (nor a relative name taken from the server's current folder).
HRESULT NoMapData(ObjectRegistry& registry) {
  return LineStylesError(registry, kDataFileUnreadable,
                         "Nie znam katalogu danych map tego komputera: rejestr nie podaje wartości ProgramFilesDir.");
}

// The package `name` (UTF-8) loaded, or the error reported.
HRESULT OpenPackage(ObjectRegistry& registry, Services& services, const std::string& name,
                    std::shared_ptr<PackageStyles>& out) {
  auto loaded = LoadInstalledPackage(services.registry, services.codec.Utf8ToAnsi(name), services.codec);
  if (auto* failure = std::get_if<PackageFailure>(&loaded)) {
    return LineStylesError(registry, PackageFailureCode(*failure), PackageFailureText(*failure, name, services.codec));
  }
  std::filesystem::path mapData = services.MapData();
  if (mapData.empty()) return NoMapData(registry);
  out = std::make_shared<PackageStyles>(services.files, services.codec, name, std::get<LayerTable>(std::move(loaded)),
                                        std::move(mapData));
  return S_OK;
}

// ---- Package. ----

class PackageObject final : public DualObject<IPackage> {
 public:
  PackageObject(ObjectRegistry& registry, std::string name, std::shared_ptr<Services> services)
      : DualObject(registry), name_(std::move(name)), services_(std::move(services)) {}
  STDMETHODIMP get_Name(BSTR* v) override { return ReturnText(name_, v); }
  STDMETHODIMP get_Layers(IAtrybutyItems** v) override {
    if (!v) return E_POINTER;
    *v = nullptr;
    return LineStylesGuarded(Registry(), [&]() -> HRESULT {
      std::shared_ptr<PackageStyles> package;
      if (const HRESULT hr = OpenPackage(Registry(), *services_, name_, package); FAILED(hr)) return hr;
      std::vector<ItemsObject::Item> items;
      for (int k = 1; k <= package->LayerCount(); ++k) {
        items.push_back({ComPtr<IDispatch>::Adopt(AsDispatch(new LayerObject(Registry(), package, k, services_))),
                         package->LayerName(k)});
      }
      *v = MakeItems(Registry(), std::move(items));
      return S_OK;
    });
  }

 private:
  std::string name_;
  std::shared_ptr<Services> services_;
};

// ---- Change. ----

HRESULT Undo(ObjectRegistry& registry, Services& services, const JournalEntry& change, std::size_t number,
             bool& restored) {
  const std::filesystem::path folder = services.MapData();
  if (folder.empty()) return NoMapData(registry);
  FileJournal journal = services.Journal();
  const UndoResult u = UndoChange(services.files, change, PathFromUtf8(change.dataFile), folder, journal);
  restored = u.status == UndoStatus::Restored;
  if (u.status == UndoStatus::Restored || u.status == UndoStatus::AlreadyRestored) return S_OK;
  std::string why;
  switch (u.status) {
    case UndoStatus::NotARecordChange:
      why = "wpis dziennika nie opisuje rekordu stylu linii tego pliku";
      break;
    case UndoStatus::NoRecord:
      why = "plik nie zawiera rekordu stylu linii";
      break;
    case UndoStatus::ChangedSince:
      why = "plik został od tego czasu zmieniony ponownie";
      break;
    case UndoStatus::CannotOpen:
      return LineStylesError(
          registry, u.error == FileError::AccessDenied ? kAccessDenied : kDataFileNotWritable,
          "Nie mogę cofnąć zmiany " + std::to_string(number) + ": nie mogę zapisać pliku " + change.dataFile + ".");
    case UndoStatus::OutsideFolder:
      why = "plik nie leży w katalogu danych map";
      break;
    default:
      why = "zapis nie powiódł się";
      break;
  }
  return LineStylesError(registry, kUndoRefused,
                         "Nie mogę cofnąć zmiany " + std::to_string(number) + " (" + change.package + " / " +
                             change.layer + "): " + why + "; nic nie zostało zapisane.");
}

class ChangeObject final : public DualObject<IChange> {
 public:
  ChangeObject(ObjectRegistry& registry, JournalEntry entry, long number, std::shared_ptr<Services> services)
      : DualObject(registry), entry_(std::move(entry)), number_(number), services_(std::move(services)) {}
  STDMETHODIMP get_Number(long* v) override {
    if (!v) return E_POINTER;
    *v = number_;
    return S_OK;
  }
  STDMETHODIMP get_Time(DATE* v) override {
    if (!v) return E_POINTER;
    *v = LocalDateOfJournalTime(entry_.time).value_or(0);
    return S_OK;
  }
  STDMETHODIMP get_Package(BSTR* v) override { return ReturnText(entry_.package, v); }
  STDMETHODIMP get_Layer(BSTR* v) override { return ReturnText(entry_.layer, v); }
  STDMETHODIMP get_DataFile(BSTR* v) override { return ReturnText(entry_.dataFile, v); }
  STDMETHODIMP Undo() override {
    return LineStylesGuarded(Registry(), [&] {
      bool restored = false;
      return win32::Undo(Registry(), *services_, entry_, static_cast<std::size_t>(number_), restored);
    });
  }

 private:
  JournalEntry entry_;
  long number_;
  std::shared_ptr<Services> services_;
};

// ---- ImportResult. ----

class ImportResultObject final : public DualObject<IImportResult> {
 public:
  ImportResultObject(ObjectRegistry& registry, ImportResult result)
      : DualObject(registry), result_(std::move(result)) {}
  STDMETHODIMP get_Layer(BSTR* v) override { return ReturnText(result_.layer, v); }
  STDMETHODIMP get_Result(AtrybutyImport* v) override {
    if (!v) return E_POINTER;
    *v = result_.outcome == ImportOutcome::Changed     ? atrImportChanged
         : result_.outcome == ImportOutcome::Unchanged ? atrImportUnchanged
                                                       : atrImportRefused;
    return S_OK;
  }
  STDMETHODIMP get_Reason(BSTR* v) override { return ReturnText(result_.reason, v); }

 private:
  ImportResult result_;
};

// The layer names a host gives: a text, an array of texts (an empty one
// names none), or nothing (every layer).
bool LayerNames(const VARIANT& v, std::optional<std::vector<std::string>>& given) {
  const VARIANT* p = &v;
  if (V_VT(p) == (VT_VARIANT | VT_BYREF)) p = V_VARIANTREF(p);
  if ((V_VT(p) == VT_ERROR && V_ERROR(p) == DISP_E_PARAMNOTFOUND) || V_VT(p) == VT_EMPTY) return true;
  std::vector<std::string>& names = given.emplace();
  if (V_VT(p) == VT_BSTR) {
    names.push_back(TextOf(V_BSTR(p)));
    return true;
  }
  if (!(V_VT(p) & VT_ARRAY)) return false;
  SAFEARRAY* array = (V_VT(p) & VT_BYREF) ? *V_ARRAYREF(p) : V_ARRAY(p);
  if (!array || SafeArrayGetDim(array) != 1) return false;
  LONG low = 0, high = -1;
  SafeArrayGetLBound(array, 1, &low);
  SafeArrayGetUBound(array, 1, &high);
  for (LONG i = low; i <= high; ++i) {
    Variant item;
    if ((V_VT(p) & VT_TYPEMASK) == VT_VARIANT) {
      if (FAILED(SafeArrayGetElement(array, &i, item.Get()))) return false;
    } else if ((V_VT(p) & VT_TYPEMASK) == VT_BSTR) {
      BSTR b = nullptr;
      if (FAILED(SafeArrayGetElement(array, &i, &b))) return false;
      V_VT(item.Get()) = VT_BSTR;
      V_BSTR(item.Get()) = b;
    } else {
      return false;
    }
    Variant text;
    if (FAILED(VariantChangeType(text.Get(), item.Get(), 0, VT_BSTR))) return false;
    names.push_back(TextOf(V_BSTR(text.Get())));
  }
  return true;
}

// ---- LineStyles, the creatable class. ----

class LineStylesObject final : public DualObject<ILineStyles> {
 public:
  explicit LineStylesObject(ObjectRegistry& registry) : DualObject(registry), services_(std::make_shared<Services>()) {}

  STDMETHODIMP get_Packages(IAtrybutyItems** v) override {
    if (!v) return E_POINTER;
    *v = nullptr;
    return LineStylesGuarded(Registry(), [&]() -> HRESULT {
      std::vector<ItemsObject::Item> items;
      for (const std::string& ansi : InstalledPackages(services_->registry)) {
        const std::string name = services_->codec.AnsiToUtf8(ansi);
        items.push_back({ComPtr<IDispatch>::Adopt(AsDispatch(new PackageObject(Registry(), name, services_))), name});
      }
      *v = MakeItems(Registry(), std::move(items));
      return S_OK;
    });
  }

  STDMETHODIMP Layer(BSTR packageName, BSTR layerName, ILayer** v) override {
    if (!v) return E_POINTER;
    *v = nullptr;
    return LineStylesGuarded(Registry(), [&]() -> HRESULT {
      std::shared_ptr<PackageStyles> package;
      if (const HRESULT hr = OpenPackage(Registry(), *services_, TextOf(packageName), package); FAILED(hr)) return hr;
      const int k = package->FindLayer(TextOf(layerName));
      if (!k) {
        return LineStylesError(
            Registry(), kLayerNotFound,
            "Pakiet map \"" + TextOf(packageName) + "\" nie ma warstwy \"" + TextOf(layerName) + "\".");
      }
      *v = new LayerObject(Registry(), package, k, services_);
      return S_OK;
    });
  }

  STDMETHODIMP get_Changes(IAtrybutyItems** v) override {
    if (!v) return E_POINTER;
    *v = nullptr;
    return LineStylesGuarded(Registry(), [&]() -> HRESULT {
      std::vector<ItemsObject::Item> items;
      const auto entries = ReadJournal(JournalPath()).value_or(std::vector<JournalEntry>{});
      for (std::size_t i = 0; i < entries.size(); ++i) {
        items.push_back({ComPtr<IDispatch>::Adopt(
                             AsDispatch(new ChangeObject(Registry(), entries[i], static_cast<long>(i + 1), services_))),
                         {}});
      }
      *v = MakeItems(Registry(), std::move(items));
      return S_OK;
    });
  }

  // Newest first, so every later change is undone before the one it followed.
  STDMETHODIMP UndoSince(DATE since, long* undone) override {
    if (!undone) return E_POINTER;
    *undone = 0;
    return LineStylesGuarded(Registry(), [&]() -> HRESULT {
      const auto from = JournalTimeOfLocalDate(since);
      if (!from) return LineStylesError(Registry(), kValueOutOfRange, "Zła data.");
      const auto entries = ReadJournal(JournalPath()).value_or(std::vector<JournalEntry>{});
      for (std::size_t i = entries.size(); i-- > 0;) {
        if (entries[i].time < *from) break;
        bool restored = false;
        if (const HRESULT hr = win32::Undo(Registry(), *services_, entries[i], i + 1, restored); FAILED(hr)) return hr;
        if (restored) ++*undone;
      }
      return S_OK;
    });
  }

  STDMETHODIMP Export(BSTR packageName, BSTR file) override {
    return LineStylesGuarded(Registry(), [&]() -> HRESULT {
      std::shared_ptr<PackageStyles> package;
      if (const HRESULT hr = OpenPackage(Registry(), *services_, TextOf(packageName), package); FAILED(hr)) return hr;
      const std::string text = FormatStyleFile(package->Export());
      if (!WriteFileBytes(PathFromUtf8(TextOf(file)), std::vector<std::uint8_t>(text.begin(), text.end()))) {
        return LineStylesError(Registry(), kFileNotWritable, "Nie mogę zapisać pliku \"" + TextOf(file) + "\".");
      }
      return S_OK;
    });
  }

  STDMETHODIMP Import(BSTR file, VARIANT layers, IAtrybutyItems** results) override {
    if (!results) return E_POINTER;
    *results = nullptr;
    return LineStylesGuarded(Registry(), [&]() -> HRESULT {
      std::optional<std::vector<std::string>> only;
      if (!LayerNames(layers, only)) {
        return LineStylesError(Registry(), kValueOutOfRange, "Warstwy podaje się jako nazwę albo tablicę nazw.");
      }
      const auto text = ReadFileText(PathFromUtf8(TextOf(file)));
      if (!text)
        return LineStylesError(Registry(), kFileUnreadable, "Nie mogę odczytać pliku \"" + TextOf(file) + "\".");
      const auto parsed = ParseStyleFile(*text);
      if (const auto* error = std::get_if<StyleFileError>(&parsed)) {
        return LineStylesError(Registry(), kImportFileInvalid,
                               "Plik \"" + TextOf(file) + "\" nie jest plikiem stylów linii Atrybuty (wiersz " +
                                   std::to_string(error->line) + ": " + error->why + "); nic nie zostało zapisane.");
      }
      const StyleFile& styles = std::get<StyleFile>(parsed);
      std::shared_ptr<PackageStyles> package;
      if (const HRESULT hr = OpenPackage(Registry(), *services_, styles.package, package); FAILED(hr)) return hr;
      FileJournal journal = services_->Journal();
      std::vector<ItemsObject::Item> items;
      for (ImportResult& r : package->Import(styles, only, journal)) {
        std::string name = r.layer;
        items.push_back(
            {ComPtr<IDispatch>::Adopt(AsDispatch(new ImportResultObject(Registry(), std::move(r)))), std::move(name)});
      }
      *results = MakeItems(Registry(), std::move(items));
      return S_OK;
    });
  }

 private:
  std::shared_ptr<Services> services_;
};

}  // namespace

HRESULT LineStylesError(ObjectRegistry& registry, HRESULT hr, const std::string& description) {
  return ReportAutomationError(hr, Utf8ToWide(description), &registry, kLineStylesSource, IID_ILineStyles);
}

IUnknown* MakeLineStyles(ObjectRegistry& registry) { return static_cast<ILineStyles*>(new LineStylesObject(registry)); }

}  // namespace atrybuty::win32
