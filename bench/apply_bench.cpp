// One apply (the five record bytes written after the check, and the journal
// line) against a bare write of the same five bytes.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/mapfile/data_file_path.h"
#include "core/mapfile/journal.h"
#include "core/mapfile/line_style_record.h"
#include "samples/sample_package.h"
#include "support/fakes.h"
#include "support/scratch_dir.h"

namespace {

using namespace atrybuty;

constexpr std::uint32_t kBase = 0x10000;

void BM_BareWriteOfFiveBytes(benchmark::State& state) {
  testing::ScratchDir dir;
  const auto layer = samples::BundledSample().layers[2];
  testing::WriteAll(dir.File("a.dat"), samples::DataFileBytes(layer));
  const RecordOffsets at = OffsetsOf(kBase);
  const BytePatch patches[] = {{at.red, 1}, {at.green, 2}, {at.blue, 3}, {at.thickness, 4}, {at.style, 5}};
  for (auto _ : state) benchmark::DoNotOptimize(PatchBytes(dir.File("a.dat"), patches));
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
  Form1Controller form(view, Form1Services{processState, registry, codec, messages, journal, exits}, "Polska");
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
