#include "bench/runform_steps.h"

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <future>
#include <variant>

#include "core/component/process_state.h"
#include "core/config/file_bytes.h"
#include "core/config/layer_table.h"
#include "core/config/profile.h"
#include "core/config/registry.h"
#include "core/config/unscramble_to_temp.h"
#include "core/form1/pictures.h"
#include "core/text/paths.h"
#include "support/fakes.h"
#include "win32/config/win_registry.h"
#include "win32/config/win_temp_files.h"
#include "win32/dialogs/dialog_host.h"
#include "win32/dialogs/form1_host.h"
#include "win32/dialogs/form1_window.h"
#include "win32/handles.h"
#include "win32/mapfile/win_data_files.h"
#include "win32/resources/resource.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

struct ModuleTraits {
  static HMODULE Invalid() { return nullptr; }
  static void Close(HMODULE h) { FreeLibrary(h); }
};
struct ActCtxTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ReleaseActCtx(h); }
};

// The server's manifest active on this thread while it lives, so that the
// dialog gets the same common controls as in the server.
class ActiveManifest {
 public:
  explicit ActiveManifest(const std::wstring& exe) {
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = exe.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(IDR_MANIFEST);
    context_.Reset(CreateActCtxW(&request));
    if (context_ && !ActivateActCtx(context_.Get(), &cookie_)) context_.Reset();
  }
  ~ActiveManifest() {
    if (context_) DeactivateActCtx(0, cookie_);
  }
  ActiveManifest(const ActiveManifest&) = delete;
  ActiveManifest& operator=(const ActiveManifest&) = delete;
  explicit operator bool() const { return static_cast<bool>(context_); }

 private:
  win32::UniqueHandle<HANDLE, ActCtxTraits> context_;
  ULONG_PTR cookie_ = 0;
};

// What Form1's window needs of the server process. The window is made
// without its controller's load; the bench fills it itself.
class StepDialogs final : public win32::DialogHost {
 public:
  explicit StepDialogs(HINSTANCE resources) : resources_(resources) {}
  HINSTANCE Instance() const override { return resources_; }
  HWND OwnerWindow() const override { return nullptr; }
  void RunModalLoop(const std::function<bool()>&) override {}
  void PumpWaitingMessages() override {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  bool WaitPumping(HANDLE, DWORD) override { return false; }
  void OnDialogsChanged() override {}
  Form1Services ControllerServices(Elevation& elevation) override {
    return Form1Services{state_, registry_, codec_, messages_, journal_, exits_, files_, elevation};
  }
  COLORREF* CustomColours() override { return colours_; }

 private:
  HINSTANCE resources_;
  ProcessState state_;
  win32::WinRegistry registry_;
  win32::AnsiCodec codec_;
  testing::FakeMessages messages_;
  testing::MemoryJournal journal_;
  testing::FakeExits exits_;
  win32::WinDataFiles files_;
  COLORREF colours_[16] = {};
};

// One run of the steps, in RunForm's order.
std::optional<RunFormSteps> RunOnce(StepDialogs& dialogs, const std::string& ansiName) {
  RunFormSteps steps;
  win32::WinRegistry registry;
  win32::WinTempFiles temp;
  win32::AnsiCodec codec;

  const auto start = Clock::now();
  const std::string list = registry.ReadRegValue(kAtrybutyKey, kMruListValue);
  const std::string configPath = registry.ReadRegValue(PackageKey(ansiName), kPackagePathValue);
  const auto registryDone = Clock::now();
  const std::string copy = UnscrambleToTemp(configPath, temp, codec);
  const auto copyDone = Clock::now();
  if (list.empty() || copy.empty()) return std::nullopt;

  // The layers are read on a second thread while the window is made, as
  // RunForm has them read; here each half of the read is timed as well.
  struct Read {
    LayerTableResult loaded = LayerTableFailure{LayerTableError::FileUnreadable, {}};
    double parse = 0, table = 0;
  };
  auto reading = std::async(std::launch::async, [path = PathFromAnsi(codec, copy)] {
    Read read;
    const auto readStart = Clock::now();
    if (auto text = ReadFileText(path)) {
      const Profile profile = Profile::Parse(std::move(*text));
      const auto parsed = Clock::now();
      read.loaded = LoadLayerTable(profile);
      read.parse = Ms(readStart, parsed);
      read.table = Ms(parsed, Clock::now());
    }
    return read;
  });
  win32::Form1Host host(dialogs);
  win32::Form1Window window(dialogs, host);
  window.Create(codec.AnsiToUtf8(ansiName));
  const auto windowDone = Clock::now();
  Read read = reading.get();
  const auto tableDone = Clock::now();
  const auto* table = std::get_if<LayerTable>(&read.loaded);
  if (!window.Handle() || !table) return std::nullopt;

  window.FillLayerList(*table);
  const auto fillDone = Clock::now();
  // As the controller's ComboSetting sets them up.
  for (int k = 1; k <= kStylePictureCount; ++k) window.AppendPickerItem(Picker::Style, k);
  window.SelectPickerItem(Picker::Style, 1);
  for (int k = 1; k <= kThicknessPictureCount; ++k) window.AppendPickerItem(Picker::Thickness, k);
  window.SelectPickerItem(Picker::Thickness, 1);
  window.SelectLayer(0);
  window.HookControls();  // as Load does once the window is filled
  const auto pickersDone = Clock::now();
  // As Form1Host::ShowModeless shows it.
  ShowWindow(window.Handle(), SW_SHOW);
  SetForegroundWindow(window.Handle());
  const auto shownDone = Clock::now();

  steps.registry = Ms(start, registryDone);
  steps.temporaryCopy = Ms(registryDone, copyDone);
  steps.window = Ms(copyDone, windowDone);
  steps.parse = read.parse;
  steps.layerTable = read.table;
  steps.tableWait = Ms(windowDone, tableDone);
  steps.listFill = Ms(tableDone, fillDone);
  steps.pickers = Ms(fillDone, pickersDone);
  steps.shown = Ms(pickersDone, shownDone);
  steps.layers = window.LayerListCount();

  window.Destroy();
  dialogs.PumpWaitingMessages();
  DeleteFileW(PathFromAnsi(codec, copy).c_str());
  return steps;
}

}  // namespace

std::optional<std::vector<RunFormSteps>> TimeRunFormSteps(const std::wstring& serverExe, const std::string& ansiName,
                                                          int runs) {
  const win32::UniqueHandle<HMODULE, ModuleTraits> resources(
      LoadLibraryExW(serverExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!resources) return std::nullopt;
  const ActiveManifest manifest(serverExe);
  if (!manifest) return std::nullopt;
  // As the server's entry point does.
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  StepDialogs dialogs(reinterpret_cast<HINSTANCE>(resources.Get()));
  std::vector<RunFormSteps> all;
  for (int run = 0; run < runs; ++run) {
    auto steps = RunOnce(dialogs, ansiName);
    if (!steps) return std::nullopt;
    all.push_back(*steps);
  }
  return all;
}

}  // namespace atrybuty::bench
