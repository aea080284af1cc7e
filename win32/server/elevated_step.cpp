#include "win32/server/elevated_step.h"

#include "core/config/registry.h"
#include "core/mapfile/data_file_path.h"
#include "core/mapfile/elevated_write.h"
#include "core/mapfile/journal.h"
#include "core/text/paths.h"
#include "win32/config/win_registry.h"
#include "win32/mapfile/win_data_files.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {

int RunElevatedStep(const std::vector<std::wstring>& arguments) {
  std::vector<std::string> utf8;
  for (const std::wstring& a : arguments) utf8.push_back(WideToUtf8(a));
  const auto request = ParseElevatedWrite(utf8);
  if (!request) return 1;
  // The folder comes from this computer's registry, never from the request.
  WinRegistry registry;
  const std::string programFiles = registry.ReadRegValue(kCurrentVersionKey, kProgramFilesDirValue);
  if (programFiles.empty()) return 1;
  const AnsiCodec codec;
  WinDataFiles files;
  FileJournal journal(request->journal, Utf8FromPath(request->journal));
  const RecordWriteResult result = WriteRecord(files, request->snapshot, request->change, journal, request->context,
                                               PathFromAnsi(codec, DataDirectory(programFiles)));
  return ElevatedExitCode(result.status);
}

}  // namespace atrybuty::win32
