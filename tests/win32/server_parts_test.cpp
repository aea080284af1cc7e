// Parts of the server against the real platform: error objects and the
// server's lock, command lines, and the elevated step of a standard user's
// apply, run directly and through the elevation a dialog uses.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "core/config/file_bytes.h"
#include "core/mapfile/elevated_write.h"
#include "core/text/paths.h"
#include "samples/sample_package.h"
#include "support/fakes.h"
#include "support/scratch_dir.h"
#include "win32/com/com_ptr.h"
#include "win32/com/error_info.h"
#include "win32/command_line.h"
#include "win32/config/win_registry.h"
#include "win32/dialogs/win_elevation.h"
#include "win32/mapfile/journal_location.h"
#include "win32/server/elevated_step.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {
namespace {

struct CountingLock final : ServerLock {
  int locks = 0;
  void LockServer(bool lock) override { locks += lock ? 1 : -1; }
};

// A host may keep an error object after every other reference is gone: it
// keeps the server as long as it lives.
TEST(ErrorObjects, HoldTheServerWhileTheyLive) {
  CountingLock lock;
  EXPECT_EQ(ReportAutomationError(kLayerCountMissing, L"brak MapCount", &lock), kLayerCountMissing);
  EXPECT_EQ(lock.locks, 1);
  ComPtr<IErrorInfo> error;
  ASSERT_EQ(GetErrorInfo(0, error.Receive()), S_OK);
  Bstr description;
  ASSERT_EQ(error->GetDescription(description.Receive()), S_OK);
  EXPECT_EQ(description.Str(), L"brak MapCount");
  EXPECT_EQ(lock.locks, 1);
  error.Reset();
  EXPECT_EQ(lock.locks, 0);
}

TEST(CommandLine, ArgumentsComeBackAsTheyWere) {
  const std::vector<std::wstring> args = {L"plain", L"", L"with space", L"quote\"inside", L"C:\\Program Files (x86)\\",
                                          L"back\\\\slash\\\"", L"Żółw \"i\" Łódź", L"tab\there"};
  std::wstring line;
  for (const auto& a : args) line += QuoteArgument(a) + L" ";
  EXPECT_EQ(SplitCommandLine(line), args) << WideToUtf8(line);
}

// A data file in this computer's map data folder, as a package installs it.
class ElevatedStep : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string programFiles = WinRegistry().ReadRegValue(kCurrentVersionKey, kProgramFilesDirValue);
    ASSERT_FALSE(programFiles.empty());
    folder = PathFromAnsi(AnsiCodec(), DataDirectory(programFiles));
    std::filesystem::create_directories(folder);
    file = folder / L"ELEVATED_TEST.DAT";
    layer = samples::BundledSample().layers[2];
    original = samples::DataFileBytes(layer);
    ASSERT_TRUE(WriteFileBytes(file, original));
  }
  void TearDown() override { std::filesystem::remove(file); }
  ElevatedWrite Request() {
    return {{file, layer.base, layer.style}, {7, 33, RgbBytes{1, 2, 3}}, {"Polska", "Granice"}, journal.File("z.txt")};
  }
  std::vector<std::wstring> Arguments(const ElevatedWrite& r) {
    std::vector<std::wstring> args;
    for (const auto& a : ElevatedWriteArguments(r)) args.push_back(Utf8ToWide(a));
    return args;
  }
  std::vector<std::uint8_t> Written() const {
    auto bytes = original;
    for (auto [at, value] : {std::pair{13u, 7}, {14u, 33}, {16u, 1}, {17u, 2}, {18u, 3}})
      bytes[layer.base + at] = static_cast<std::uint8_t>(value);
    return bytes;
  }

  testing::ScratchDir journal;
  std::filesystem::path folder, file;
  samples::SampleLayer layer;
  std::vector<std::uint8_t> original;
};

TEST_F(ElevatedStep, WritesTheCheckedRecordIntoTheJournalOfTheUserWhoAsked) {
  EXPECT_EQ(RunElevatedStep(Arguments(Request())), 0);
  EXPECT_EQ(ReadFileBytes(file), Written());
  const auto lines = ReadJournal(journal.File("z.txt"));
  ASSERT_TRUE(lines && lines->size() == 1);
  EXPECT_EQ((*lines)[0].layer, "Granice");
  EXPECT_EQ((*lines)[0].bytes.size(), 5u);
}

TEST_F(ElevatedStep, RefusesWhatTheDialogDidNotRead) {
  auto stale = Request();
  stale.snapshot.style.thickness ^= 1;
  EXPECT_EQ(RunElevatedStep(Arguments(stale)), ElevatedExitCode(RecordWriteStatus::RecordChanged));
  auto elsewhere = Request();
  elsewhere.snapshot.path = PathFromUtf8(journal.File("ELSEWHERE.DAT"));
  ASSERT_TRUE(WriteFileBytes(elsewhere.snapshot.path, original));
  EXPECT_EQ(RunElevatedStep(Arguments(elsewhere)), ElevatedExitCode(RecordWriteStatus::OutsideFolder))
      << "only files of this computer's map data folder";
  EXPECT_EQ(RunElevatedStep({L"not", L"a", L"request"}), 1);
  EXPECT_EQ(ReadFileBytes(file), original);
  EXPECT_EQ(ReadFileBytes(elsewhere.snapshot.path), original);
}

// The elevation a dialog uses starts the server's program with "runas"
// (Wine has no UAC prompt and runs it as it is) and waits while pumping.
class PumpingHost final : public DialogHost {
 public:
  HINSTANCE Instance() const override { return GetModuleHandleW(nullptr); }
  HWND OwnerWindow() const override { return nullptr; }
  void RunModalLoop(const std::function<bool()>&) override {}
  void PumpWaitingMessages() override {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  bool WaitPumping(HANDLE handle, DWORD milliseconds) override {
    ++waits;
    for (;;) {
      const DWORD woke = MsgWaitForMultipleObjects(1, &handle, FALSE, milliseconds, QS_ALLINPUT);
      if (woke == WAIT_OBJECT_0) return true;
      if (woke != WAIT_OBJECT_0 + 1) return false;
      PumpWaitingMessages();
    }
  }
  void OnDialogsChanged() override {}
  Form1Services ControllerServices(Elevation&) override { std::abort(); }
  COLORREF* CustomColours() override { return nullptr; }
  int waits = 0;
};

TEST_F(ElevatedStep, RunsAsTheServersOwnProgramStartedElevated) {
  const char* server = std::getenv("ATRYBUTY_SERVER");
  ASSERT_TRUE(server) << "ATRYBUTY_SERVER names atrybuty.exe";
  PumpingHost host;
  WinElevation elevation(host, [] { return HWND(nullptr); }, AnsiToWide(server));
  const ElevationResult ran = elevation.WriteAsAdministrator(Request());
  EXPECT_EQ(ran.outcome, ElevationOutcome::Ran) << ran.why;
  EXPECT_EQ(ran.exitCode, 0u);
  EXPECT_EQ(host.waits, 1);
  EXPECT_EQ(ReadFileBytes(file), Written());
  EXPECT_EQ(WinElevation(host, [] { return HWND(nullptr); }, L"C:\\nie-ma\\atrybuty.exe")
                .WriteAsAdministrator(Request())
                .outcome,
            ElevationOutcome::CannotStart);
}

}  // namespace
}  // namespace atrybuty::win32
