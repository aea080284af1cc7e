#pragma once
// A package's line styles without the dialog: reading a layer's record,
// changing it with the same checked, journaled write as the dialog's apply,
// exporting every layer's stored bytes and importing them back. The
// automation class LineStyles and the tool share it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/config/layer_table.h"
#include "core/mapfile/data_files.h"
#include "core/mapfile/journal.h"
#include "core/mapfile/record_write.h"
#include "core/mapfile/style_file.h"
#include "core/text/codec.h"

namespace atrybuty {

enum class ImportOutcome { Changed, Unchanged, Refused };

struct ImportResult {
  std::string layer;  // UTF-8, as the file names it
  ImportOutcome outcome = ImportOutcome::Refused;
  std::string reason;  // Polish; empty unless refused
};

// What an import writes back: the values the dialog's pickers show, 0 (a
// stored "none") included.
inline constexpr int kMaxThickness = 7;
inline constexpr int kMaxStyle = 77;

class PackageStyles {
 public:
  // `name` is the package's name (UTF-8); `dataDirectory` the folder its
  // data files must lie in.
  PackageStyles(DataFiles& files, const TextCodec& codec, std::string name, LayerTable layers,
                std::filesystem::path dataDirectory);

  const std::string& Name() const { return name_; }
  int LayerCount() const { return layers_.LayerCount(); }
  std::string LayerName(int number) const;     // UTF-8; layers count from 1
  std::string DataFileName(int number) const;  // UTF-8
  // The first layer of that name (UTF-8), or 0.
  int FindLayer(std::string_view name) const;

  // The layer's record now. A file name that leaves the data directory, or
  // names a device or a stream, is never opened: CannotOpen, NotAFile.
  RecordRead Read(int number);
  // The checked write of `change` over the record `read` found.
  RecordWriteResult Write(int number, const RecordRead& read, const RecordChange& change, Journal& journal);

  // Every layer's stored bytes; a file without a record, or one that cannot
  // be read, is exported as such.
  StyleFile Export();
  // Writes the file's styles back, into the layers named in `only` (UTF-8;
  // an empty list names none) or into every layer the file lists; one result
  // per layer. Nothing is written that the journal does not record first.
  std::vector<ImportResult> Import(const StyleFile& file, const std::optional<std::vector<std::string>>& only,
                                   Journal& journal);

 private:
  std::filesystem::path PathOf(int number) const;

  DataFiles& files_;
  const TextCodec& codec_;
  std::string name_;
  LayerTable layers_;
  std::filesystem::path dataDirectory_;
};

// Why a read found no usable record, in Polish, for messages and reports.
std::string DescribeInPolish(const RecordRead& read);
std::string DescribeInPolish(const RecordWriteResult& result);

}  // namespace atrybuty
