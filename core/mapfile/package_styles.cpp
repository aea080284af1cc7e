#include "core/mapfile/package_styles.h"

#include <algorithm>

#include "core/mapfile/data_file_path.h"
#include "core/text/paths.h"

namespace atrybuty {
namespace {

bool SameFileName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string DescribeFileError(FileError error) {
  switch (error) {
    case FileError::NotFound:
      return "plik nie istnieje";
    case FileError::AccessDenied:
      return "brak uprawnień do pliku";
    case FileError::ReadOnly:
      return "plik jest tylko do odczytu";
    case FileError::InUse:
      return "plik jest używany przez inny program";
    case FileError::NotAFile:
      return "to nie jest zwykły plik w katalogu danych map";
    case FileError::None:
    case FileError::Failed:
      break;
  }
  return "nie mogę otworzyć pliku";
}

}  // namespace

std::string DescribeInPolish(const RecordRead& read) {
  switch (read.status) {
    case RecordStatus::Ok:
      return {};
    case RecordStatus::NoRecord:
      return "plik danych nie zawiera rekordu stylu linii";
    case RecordStatus::CannotOpen:
      return DescribeFileError(read.error);
    case RecordStatus::TooShortForPointer:
    case RecordStatus::TooShortForRecord:
      return "plik danych jest za krótki, by zawierać styl linii";
    case RecordStatus::ReadFailed:
      break;
  }
  return "nie mogę odczytać pliku danych";
}

std::string DescribeInPolish(const RecordWriteResult& result) {
  switch (result.status) {
    case RecordWriteStatus::Written:
      return {};
    case RecordWriteStatus::CannotOpen:
      if (result.error == FileError::AccessDenied) {
        return "brak uprawnień do zapisu pliku (zapis w katalogu Program Files wymaga administratora)";
      }
      return DescribeFileError(result.error);
    case RecordWriteStatus::OutsideFolder:
      return "plik nie leży w katalogu danych map";
    case RecordWriteStatus::RecordMoved:
    case RecordWriteStatus::RecordChanged:
      return "plik zmienił się od chwili odczytu (zmienił go inny program)";
    case RecordWriteStatus::TooShort:
      return "plik danych jest za krótki, by zawierać styl linii";
    case RecordWriteStatus::Failed:
      return "zapis nie powiódł się; nic nie zostało zapisane";
    case RecordWriteStatus::FailedHalfWritten:
      return "zapis nie powiódł się w połowie; cofnij ostatnią zmianę z dziennika zmian";
    case RecordWriteStatus::NotJournaled:
      return "nie mogę dopisać zmiany do dziennika zmian, więc nie dałoby się jej cofnąć; nic nie zostało zapisane";
  }
  return "zapis nie powiódł się";
}

PackageStyles::PackageStyles(DataFiles& files, const TextCodec& codec, std::string name, LayerTable layers,
                             std::filesystem::path dataDirectory)
    : files_(files),
      codec_(codec),
      name_(std::move(name)),
      layers_(std::move(layers)),
      dataDirectory_(std::move(dataDirectory)) {}

std::string PackageStyles::LayerName(int number) const { return codec_.AnsiToUtf8(layers_.entries[number].name); }

std::string PackageStyles::DataFileName(int number) const {
  return codec_.AnsiToUtf8(layers_.entries[number].fileName);
}

int PackageStyles::FindLayer(std::string_view name) const {
  for (int k = 1; k <= LayerCount(); ++k) {
    if (LayerName(k) == name) return k;
  }
  return 0;
}

std::filesystem::path PackageStyles::PathOf(int number) const {
  return dataDirectory_ / PathFromAnsi(codec_, layers_.entries[number].fileName);
}

RecordRead PackageStyles::Read(int number) {
  if (CheckDataFileName(layers_.entries[number].fileName) != DataFileName::Ok) {
    RecordRead refused;
    refused.error = FileError::NotAFile;
    return refused;
  }
  return ReadLineStyleRecord(files_, PathOf(number));
}

RecordWriteResult PackageStyles::Write(int number, const RecordRead& read, const RecordChange& change,
                                       Journal& journal) {
  return WriteRecord(files_, {read.path, read.base, read.style}, change, journal, {name_, LayerName(number)},
                     dataDirectory_, /*journalRequired=*/true);
}

StyleFile PackageStyles::Export() {
  StyleFile file{name_, {}};
  for (int k = 1; k <= LayerCount(); ++k) {
    const RecordRead read = Read(k);
    StyleRow row{LayerName(k), DataFileName(k), std::nullopt, StyleRow::Kept::Record};
    if (read.status == RecordStatus::Ok) {
      row.style = read.style;
    } else {
      row.kept = read.status == RecordStatus::NoRecord ? StyleRow::Kept::NoRecord : StyleRow::Kept::Unreadable;
    }
    file.rows.push_back(std::move(row));
  }
  return file;
}

std::vector<ImportResult> PackageStyles::Import(const StyleFile& file,
                                                const std::optional<std::vector<std::string>>& only, Journal& journal) {
  std::vector<ImportResult> results;
  auto wanted = [&](const std::string& layer) {
    return !only || std::find(only->begin(), only->end(), layer) != only->end();
  };
  for (const StyleRow& row : file.rows) {
    if (!wanted(row.layer)) continue;
    ImportResult result{row.layer, ImportOutcome::Refused, {}};
    const int k = FindLayer(row.layer);
    const RecordRead read = k ? Read(k) : RecordRead{};
    if (!k) {
      result.reason = "pakiet nie ma takiej warstwy";
    } else if (!SameFileName(DataFileName(k), row.dataFile)) {
      result.reason = "w pakiecie warstwa ma inny plik danych: " + DataFileName(k);
    } else if (row.kept == StyleRow::Kept::Unreadable) {
      result.reason = "przy eksporcie pliku danych warstwy nie dało się odczytać";
    } else if (!row.style) {
      // Exported without a record: there is nothing to restore.
      if (read.status == RecordStatus::NoRecord) {
        result.outcome = ImportOutcome::Unchanged;
      } else {
        result.reason = "w pliku eksportu warstwa nie ma rekordu stylu linii";
      }
    } else if (read.status != RecordStatus::Ok) {
      result.reason = DescribeInPolish(read);
    } else if (row.style->thickness > kMaxThickness || row.style->style > kMaxStyle) {
      // Only what the dialog can show (0, a stored "none", included) is written back.
      result.reason = "w pliku eksportu grubość lub styl spoza zakresu (grubość 0-7, styl 0-77)";
    } else if (read.style == *row.style) {
      result.outcome = ImportOutcome::Unchanged;
    } else {
      const RecordChange change{row.style->thickness, row.style->style, row.style->colour};
      const RecordWriteResult written = Write(k, read, change, journal);
      if (written.status == RecordWriteStatus::Written) {
        result.outcome = ImportOutcome::Changed;
      } else {
        result.reason = DescribeInPolish(written);
      }
    }
    results.push_back(std::move(result));
  }
  for (const std::string& name : only.value_or(std::vector<std::string>{})) {
    const bool listed =
        std::any_of(file.rows.begin(), file.rows.end(), [&](const StyleRow& r) { return r.layer == name; });
    if (!listed) results.push_back({name, ImportOutcome::Refused, "plik eksportu nie zawiera takiej warstwy"});
  }
  return results;
}

}  // namespace atrybuty
