// One apply (the record checked again under a write lock, the journal line,
// the five bytes, a flush) against a bare write of the same five bytes.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/component/process_state.h"
#include "core/mapfile/data_file_path.h"
#include "core/mapfile/journal.h"
#include "core/mapfile/line_style_record.h"
#include "samples/sample_package.h"
#include "support/fakes.h"
#include "support/scratch_dir.h"

namespace {

using namespace atrybuty;

constexpr std::uint32_t kBase = 0x10000;

// Open, write the five bytes one by one, flush, close: what any apply must do at least.
void BM_BareWriteOfFiveBytes(benchmark::State& state) {
  testing::ScratchDir dir;
  const auto layer = samples::BundledSample().layers[2];
  testing::WriteAll(dir.File("a.dat"), samples::DataFileBytes(layer));
  const auto files = testing::MakePlatformDataFiles();
  const auto offsets = OffsetsOf(kBase).All();
  for (auto _ : state) {
    OpenedFile opened = files->OpenForWriting(dir.File("a.dat"));
    for (std::uint32_t at : offsets) {
      const std::uint8_t value = static_cast<std::uint8_t>(at);
      benchmark::DoNotOptimize(opened.file->WriteAt(at, std::span(&value, 1)));
    }
    benchmark::DoNotOptimize(opened.file->Flush());
  }
}
BENCHMARK(BM_BareWriteOfFiveBytes)->Unit(benchmark::kMicrosecond);

void BM_OneApplyWithJournal(benchmark::State& state) {
  testing::ScratchDir dir;
  const auto package = samples::BundledSample();
  testing::FakeRegistry registry;
  registry.Set(kCurrentVersionKey, kProgramFilesDirValue, dir.Prefix());
  for (const auto& l : package.layers) {
    const std::string path = DataFilePath(dir.Prefix(), l.fileName);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    testing::WriteAll(path, samples::DataFileBytes(l));
  }
  testing::WriteText(dir.File("c.ini"), samples::ClearConfiguration(package));
  ProcessState processState;
  processState.configTempPath = dir.File("c.ini");
  Cp1250Codec codec;
  testing::FakeMessages messages;
  FileJournal journal(dir.File("zmiany.txt"), "zmiany.txt");
  testing::FakeExits exits;
  testing::FakeForm1View view;
  testing::FaultyDataFiles files;
  testing::FakeElevation elevation;
  Form1Controller form(view, Form1Services{processState, registry, codec, messages, journal, exits, files, elevation},
                       "Polska");
  form.Form_Load();
  view.SelectLayer(2);
  form.Combo1_Click();
  view.colourAnswers.assign(1, 0x563412);
  form.LblColor_Click();
  for (auto _ : state) benchmark::DoNotOptimize(form.ZmianaWarstw());
  if (!messages.shown.empty()) state.SkipWithError("the apply showed a message");
}
BENCHMARK(BM_OneApplyWithJournal)->Unit(benchmark::kMicrosecond);

}  // namespace
