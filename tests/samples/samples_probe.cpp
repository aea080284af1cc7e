// samples_probe: the Windows side of the host samples' tests. It installs map
// packages, plays the user at the server's dialogs while a sample runs, and
// checks what it sees; it starts the sample itself where it needs the
// sample's exit code and output.
//
//   samples_probe install [NAME=sample|NAME=broken]...
//       no package but these (MRU list in this order); "sample" is the
//       bundled sample package, "broken" a configuration with MapCount=abc
//   samples_probe excel-ordinary FLAGDIR     with the VBA module's driver
//   samples_probe excel-from-exec FLAGDIR    with the VBA module's driver
//   samples_probe vbs-cancel SCRIPT          runs the VBScript sample
//   samples_probe vbs-choose-apply-close SCRIPT
//   samples_probe vbs-no-package SCRIPT
//   samples_probe viewer EXE PACKAGE apply|cancel|close   runs viewer_host
//   samples_probe clean                      no dialog open, no server left
//
// Every wait is bounded. Each command ends by closing whatever it left open
// and exits 0 only when all its checks held; failures are printed.

#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/config/file_bytes.h"
#include "core/config/scramble.h"
#include "e2e/packages.h"
#include "e2e/server_client.h"
#include "e2e/ui_driver.h"
#include "win32/resources/resource.h"
#include "samples/sample_package.h"

namespace {

using namespace atrybuty::e2e;
using namespace std::chrono_literals;

constexpr auto kFirstStart = 40s;  // a cold server start under Wine
constexpr auto kSample = 20s;      // a sample ending after its last dialog
const std::wstring kMainPrefix = L"Zmiana atrybutów linii - ";
const std::wstring kChoiceCaption = L"Wybór mapy";
const std::wstring kConfigMessage =
    L"Nie mogę zlikalizować pliku konfiguracji. Pakiet nie został poprawnie zainstalowany. Skontaktuj się z "
    L"dostawcą oprogramowania.";
constexpr std::uint32_t kGraniceBase = 0x10000;  // the bundled sample's third layer
constexpr std::uint32_t kThicknessAt = 13;

int failures = 0;

void Check(bool ok, const std::string& what) {
  if (ok) return;
  ++failures;
  std::printf("FAIL: %s\n", what.c_str());
  std::fflush(stdout);
}

std::string Narrow(const std::wstring& text) {
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring Wide(const char* text) {
  const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), size);
  out.resize(out.empty() ? 0 : out.size() - 1);
  return out;
}

// A program started with its output (stdout and stderr) collected. A
// process it starts may inherit the pipe, so the end of the output is
// awaited with a bound too, and the reader never outlives what it uses.
class Child {
 public:
  explicit Child(const std::wstring& commandLine) : pipe_(std::make_shared<Pipe>()) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE write = nullptr;
    if (!CreatePipe(&pipe_->read, &write, &inherit, 0)) return;
    SetHandleInformation(pipe_->read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = write;
    si.hStdError = write;
    std::wstring line = commandLine;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
      process_ = pi.hProcess;
      pid_ = pi.dwProcessId;
      CloseHandle(pi.hThread);
    }
    CloseHandle(write);  // the child holds the only write end now
    std::thread([pipe = pipe_] {
      char buffer[4096];
      DWORD got = 0;
      while (ReadFile(pipe->read, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        std::lock_guard<std::mutex> lock(pipe->mutex);
        pipe->output.append(buffer, got);
      }
      CloseHandle(pipe->read);
      pipe->done = true;
    }).detach();
  }
  ~Child() {
    if (Running()) TerminateProcess(process_, 99);
    if (process_) CloseHandle(process_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD Pid() const { return pid_; }
  bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
  // The exit code once the program ended within `timeout` (messages served meanwhile).
  std::optional<DWORD> WaitExit(std::chrono::milliseconds timeout) {
    if (!process_ || !WaitFor([&] { return !Running(); }, timeout)) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    WaitFor([&] { return pipe_->done.load(); }, 3s);
    std::printf("--- output of the sample (exit code %lu) ---\n%s--- end ---\n", code, Output().c_str());
    std::fflush(stdout);
    return code;
  }
  std::string Output() const {
    std::lock_guard<std::mutex> lock(pipe_->mutex);
    return pipe_->output;
  }

 private:
  struct Pipe {
    HANDLE read = nullptr;
    std::mutex mutex;
    std::string output;
    std::atomic<bool> done{false};
  };
  std::shared_ptr<Pipe> pipe_;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

bool IsServerProcess(DWORD pid) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok && !found; ok = Process32NextW(snapshot, &entry)) {
    found = entry.th32ProcessID == pid && lstrcmpiW(entry.szExeFile, L"atrybuty.exe") == 0;
  }
  CloseHandle(snapshot);
  return found;
}

struct Box {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;
};

struct BoxSearch {
  DWORD pid;
  bool server;  // any server process instead of `pid`
  HWND found = nullptr;
};

BOOL CALLBACK VisitBox(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<BoxSearch*>(lp);
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (!IsWindowVisible(w) || lstrcmpW(cls, L"#32770") != 0 || !GetDlgItem(w, 65535)) return TRUE;
  const DWORD pid = ProcessOf(w);
  if (s->server ? IsServerProcess(pid) : pid == s->pid) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

// A message box of one process, or of the server, within `timeout`.
std::optional<Box> WaitForBoxOf(DWORD pid, bool server, std::chrono::milliseconds timeout = kWait) {
  BoxSearch search{pid, server};
  WaitFor(
      [&] {
        search.found = nullptr;
        EnumWindows(VisitBox, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeout);
  if (!search.found) return std::nullopt;
  return Box{search.found, Text(search.found), ItemText(search.found, 65535)};
}

void Press(const Box& box, int button) {
  Click(box.window, button);
  Check(WaitGone(box.window), "a message box goes away when answered");
}

// Closes what is open the way a user would; returns whether anything was.
bool CloseEverything() {
  bool any = false;
  for (int round = 0; round < 30; ++round) {
    if (auto box = OpenMessageBox()) {
      any = true;
      Answer(*box, box->buttons.empty() ? IDOK : box->buttons.back());
      continue;
    }
    if (HWND colour = FindTopLevelColourDialog()) {
      any = true;
      CancelColourDialog(colour);
      continue;
    }
    HWND form = FindDialogStartingWith(kMainPrefix);
    HWND choice = FindDialog(kChoiceCaption);
    if (!form && !choice) break;
    any = true;
    if (form) PostMessageW(form, WM_CLOSE, 0, 0);
    if (choice) PostMessageW(choice, WM_CLOSE, 0, 0);
    Pump(100ms);
  }
  return any;
}

int Finish() {
  if (CloseEverything()) Check(false, "the scenario left a dialog or message box open");
  Check(WaitServerGone(), "the server ends once its objects and dialogs are gone");
  if (failures == 0) std::printf("PROBE-OK\n");
  return failures == 0 ? 0 : 1;
}

int Abort(const std::string& why) {
  Check(false, why);
  return Finish();
}

void WriteFlag(const std::string& dir, const char* name) { std::ofstream(dir + "\\" + name) << name << "\n"; }

bool WaitFlag(const std::string& dir, const char* name, std::chrono::milliseconds timeout) {
  const std::string path = dir + "\\" + name;
  return WaitFor([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeout);
}

int RefreshCheck(HWND form) {
  return static_cast<int>(SendMessageW(GetDlgItem(form, IDC_CHKODSWIEZ), BM_GETCHECK, 0, 0));
}

// "Nie odświeżaj arkusza" as an ordinary start from a workbook leaves it.
void CheckOrdinaryStart(HWND form) {
  Check(Visible(form, IDC_CHKODSWIEZ) && Enabled(form, IDC_CHKODSWIEZ),
        "an ordinary start shows \"Nie odswiezaj arkusza\"");
  Check(RefreshCheck(form) == BST_UNCHECKED, "an ordinary start leaves \"Nie odswiezaj arkusza\" unticked");
}

// Apply with "Nie odświeżaj arkusza" ticked: the data file is written and the
// server confirms with an information box, which is answered.
void ApplyWithoutRefresh(HWND form) {
  SendMessageW(GetDlgItem(form, IDC_CHKODSWIEZ), BM_SETCHECK, BST_CHECKED, 0);
  Click(form, IDC_CMDANULUJ);
  auto done = WaitForBoxOf(0, true);
  Check(done.has_value(), "the server confirms the change");
  if (!done) return;
  Check(done->text.find(L"została zakończona") != std::wstring::npos,
        "the confirmation reports the change done: " + Narrow(done->text));
  Press(*done, IDOK);
  Check(WaitFor([&] { return Enabled(form, IDC_CMDANULUJ); }), "the apply command ends");
}

// The server stays while the host holds its object, even with no dialog left.
void CheckServerKeptByHost() {
  Check(!WaitFor([] { return ServerProcessCount() == 0; }, 1500ms) && ServerProcessCount() == 1,
        "the host keeps its object after the dialog closed, so the server stays");
}

int Install(int argc, char** argv) {
  Packages packages(true);  // starts from no package; the packages stay
  std::string mru;
  for (int i = 0; i < argc; ++i) {
    const std::string spec = argv[i];
    const std::size_t eq = spec.find('=');
    if (eq == std::string::npos) return Abort("bad package " + spec);
    const std::string name = spec.substr(0, eq), kind = spec.substr(eq + 1);
    if (kind == "sample") {
      packages.Install(atrybuty::samples::BundledSample(), name);
    } else if (kind == "broken") {
      const std::string clear = "[Global]\r\nMapCount=abc\r\n";
      std::vector<std::uint8_t> bytes(clear.begin(), clear.end());
      atrybuty::Scramble(bytes);
      const std::string path = packages.ConfigDir() + name + "-broken.cfg";
      if (!atrybuty::WriteFileBytes(path, bytes)) return Abort("cannot write " + path);
      packages.SetPackagePath(name, path);
    } else {
      return Abort("bad package kind " + kind);
    }
    mru += (mru.empty() ? "" : ";") + name;
  }
  if (!mru.empty()) packages.SetMruList(mru);
  std::printf("installed: %s\n", mru.empty() ? "(none)" : mru.c_str());
  return 0;
}

// The VBA module's ordinary start (the driver runs it): an ordinary dialog;
// a change applied while the driver reads IsChange; then a cancel.
int ExcelOrdinary(const std::string& flags) {
  HWND form = WaitForDialog(kMainPrefix + L"Polska", kFirstStart);
  if (!form) return Abort("the macro opens the dialog \"Zmiana atrybutow linii - Polska\"");
  CheckOrdinaryStart(form);
  Check(WaitFlag(flags, "opened", 30s), "the driver checks the open dialog's object");
  ApplyWithoutRefresh(form);
  WriteFlag(flags, "applied");
  Check(WaitFlag(flags, "checked", 30s), "the driver reads IsChange after the change");
  Check(IsWindowVisible(form), "the dialog stays open after a change in an ordinary start");
  Click(form, IDCANCEL);
  Check(WaitGone(form), "cancel closes the dialog");
  CheckServerKeptByHost();
  WriteFlag(flags, "closed");
  // The driver ends, its module variable goes, and with it the server.
  Check(WaitServerGone(30s), "the server ends once the script has ended");
  return Finish();
}

// The VBA module's start from the launcher: the check box ticked and fixed;
// cancel ends the server although the module still holds the object.
int ExcelFromExec(const std::string& flags) {
  HWND form = WaitForDialog(kMainPrefix + L"Polska", kFirstStart);
  if (!form) return Abort("the macro opens the dialog \"Zmiana atrybutow linii - Polska\"");
  Check(RefreshCheck(form) == BST_CHECKED, "FROM_EXEC ticks \"Nie odswiezaj arkusza\"");
  Check(!Enabled(form, IDC_CHKODSWIEZ), "FROM_EXEC keeps \"Nie odswiezaj arkusza\" ticked");
  Check(WaitFlag(flags, "opened", 30s), "the driver checks the open dialog's object");
  Click(form, IDCANCEL);
  Check(WaitServerGone(), "cancel after FROM_EXEC ends the server");
  WriteFlag(flags, "closed");
  return Finish();
}

std::wstring ScriptCommand(const char* script) { return L"cscript.exe //nologo \"" + Wide(script) + L"\""; }

// The VBScript sample's wait: its own message box, shown while the dialog is open.
std::optional<Box> SampleWaitBox(const Child& sample) {
  auto box = WaitForBoxOf(sample.Pid(), false);
  Check(box.has_value(), "the script waits in a message box while the dialog is open");
  if (!box) return box;
  Check(box->caption == L"Atrybuty", "the script's box is captioned Atrybuty: " + Narrow(box->caption));
  Check(box->text.find(L"Okno „Zmiana atrybutów linii” jest otwarte.") != std::wstring::npos,
        "the script's box names the open dialog in Polish (read as Windows-1250): " + Narrow(box->text));
  return box;
}

void CheckSampleEnd(Child& sample, const std::string& expected) {
  const auto code = sample.WaitExit(kSample);
  Check(code.has_value(), "the script ends after its wait box is answered");
  Check(code == 0u, "the script exits with 0");
  Check(Contains(sample.Output(), expected), "the script prints \"" + expected + "\"");
}

int VbsCancel(const char* script) {
  Child sample(ScriptCommand(script));
  if (!sample.Started()) return Abort("cannot start cscript");
  HWND form = WaitForDialog(kMainPrefix + L"Polska", kFirstStart);
  if (!form) return Abort("the script opens the dialog \"Zmiana atrybutow linii - Polska\"");
  CheckOrdinaryStart(form);
  auto box = SampleWaitBox(sample);
  Check(sample.Running(), "the script keeps running while the dialog is open");
  Click(form, IDCANCEL);
  Check(WaitGone(form), "cancel closes the dialog");
  CheckServerKeptByHost();
  Check(sample.Running(), "the script waits for its box to be answered");
  if (box) Press(*box, IDOK);
  CheckSampleEnd(sample, "Atrybuty: koniec, IsChange = False");
  return Finish();
}

int VbsChooseApplyClose(const char* script) {
  Child sample(ScriptCommand(script));
  if (!sample.Started()) return Abort("cannot start cscript");
  HWND choice = WaitForDialog(kChoiceCaption, kFirstStart);
  if (!choice) return Abort("with two packages the package choice comes first");
  Check(ListItems(choice, IDC_WYBOR_LIST1) == std::vector<std::wstring>{L"Polska", L"Europa"},
        "the package choice lists both packages");
  Check(!FindDialogStartingWith(kMainPrefix), "no main dialog before the package is chosen");
  SendMessageW(GetDlgItem(choice, IDC_WYBOR_LIST1), LB_SETCURSEL, 1, 0);
  Click(choice, IDOK);
  HWND form = WaitForDialog(kMainPrefix + L"Europa");
  if (!form) return Abort("the dialog opens for the chosen package Europa");
  CheckOrdinaryStart(form);
  auto box = SampleWaitBox(sample);
  ApplyWithoutRefresh(form);
  PostMessageW(form, WM_CLOSE, 0, 0);  // the window's frame
  Check(WaitGone(form), "closing the frame closes the dialog");
  CheckServerKeptByHost();
  if (box) Press(*box, IDOK);
  CheckSampleEnd(sample, "Atrybuty: koniec, IsChange = True");
  return Finish();
}

int VbsNoPackage(const char* script) {
  Child sample(ScriptCommand(script));
  if (!sample.Started()) return Abort("cannot start cscript");
  auto message = WaitForBoxOf(0, true, kFirstStart);
  if (!message) return Abort("with no package the server tells the user so");
  Check(message->text == kConfigMessage, "the configuration message: " + Narrow(message->text));
  Check(!FindDialogStartingWith(kMainPrefix), "no dialog opens without a package");
  Press(*message, IDOK);
  const auto code = sample.WaitExit(kSample);
  Check(code.has_value(), "the script ends by itself when no dialog opened (no wait box)");
  Check(code == 0u, "the script exits with 0");
  Check(Contains(sample.Output(), "Atrybuty: okno nie zosta"), "the script says no dialog opened");
  return Finish();
}

std::string DataFile(const char* name) { return MapDataDirectory() + name; }

int Viewer(const char* exe, const char* package, const std::string& action) {
  const auto before = atrybuty::ReadFileBytes(DataFile("GRANICE.DAT"));
  if (!before || before->size() <= kGraniceBase + kThicknessAt) return Abort("the sample package is installed");
  Child viewer(L"\"" + Wide(exe) + L"\" \"" + Wide(package) + L"\"");
  if (!viewer.Started()) return Abort("cannot start viewer_host");
  HWND form = WaitForDialog(kMainPrefix + Wide(package), kFirstStart);
  if (!form) return Abort("viewer_host opens the dialog \"Zmiana atrybutow linii - " + std::string(package) + "\"");
  Check(!Visible(form, IDC_CHKODSWIEZ) && !Visible(form, IDC_CMDCHANGE),
        "viewer mode (Parent \"Veltrix\") hides \"Nie odswiezaj arkusza\" and \"Wybierz mape\"");
  Check(!viewer.WaitExit(300ms), "RunForm is modal: viewer_host waits while the dialog is open");

  std::vector<std::uint8_t> expected = *before;
  int expectedCode = 1;
  std::string expectedLine = "IsChange: False";
  if (action == "apply") {
    // Granice wojewodztw, thickness 5 -> 6.
    SelectCombo(form, IDC_COMBO1, 2);
    Check(WaitFor([&] { return ComboSelection(form, IDC_IMGCOMBOGR) == 4; }), "the layer's thickness is read");
    SelectCombo(form, IDC_IMGCOMBOGR, 5);
    Click(form, IDC_CMDANULUJ);
    expected[kGraniceBase + kThicknessAt] = 6;
    expectedCode = 0;
    expectedLine = "IsChange: True";
  } else if (action == "cancel") {
    Click(form, IDCANCEL);
  } else if (action == "close") {
    PostMessageW(form, WM_CLOSE, 0, 0);
  } else {
    return Abort("bad action " + action);
  }
  const auto code = viewer.WaitExit(kSample);
  Check(code.has_value(), "RunForm returns and viewer_host ends");
  Check(code == static_cast<DWORD>(expectedCode), "viewer_host exits with " + std::to_string(expectedCode));
  Check(Contains(viewer.Output(), expectedLine), "viewer_host prints \"" + expectedLine + "\"");
  Check(!IsWindowVisible(form), "no dialog is shown after RunForm returned");
  Check(atrybuty::ReadFileBytes(DataFile("GRANICE.DAT")) == expected,
        action == "apply" ? "apply wrote the thickness and nothing else" : "the data file is unchanged");
  return Finish();
}

}  // namespace

int main(int argc, char** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::string command = argc > 1 ? argv[1] : "";
  int rc = 2;
  if (command == "install")
    rc = Install(argc - 2, argv + 2);
  else if (command == "excel-ordinary" && argc == 3)
    rc = ExcelOrdinary(argv[2]);
  else if (command == "excel-from-exec" && argc == 3)
    rc = ExcelFromExec(argv[2]);
  else if (command == "vbs-cancel" && argc == 3)
    rc = VbsCancel(argv[2]);
  else if (command == "vbs-choose-apply-close" && argc == 3)
    rc = VbsChooseApplyClose(argv[2]);
  else if (command == "vbs-no-package" && argc == 3)
    rc = VbsNoPackage(argv[2]);
  else if (command == "viewer" && argc == 5)
    rc = Viewer(argv[2], argv[3], argv[4]);
  else if (command == "clean" && argc == 2)
    rc = Finish();
  else
    std::fprintf(stderr, "samples_probe: bad arguments (see the file's head)\n");
  CoUninitialize();
  return rc;
}
