#include "win32/server/component_process.h"

#include "atrybuty_h.h"
#include "win32/com/error_info.h"
#include "win32/dialogs/form1_host.h"
#include "win32/host/dispatch_client.h"
#include "win32/mapfile/journal_location.h"

namespace atrybuty::win32 {
namespace {

// A server started by COM leaves when no object arrives within this time.
constexpr UINT kStartTimeoutMs = 20000;
constexpr UINT_PTR kStartTimer = 1;
// The loop is left a moment after the last release, so that COM can send the
// reply to that release before the process tears its channels down.
constexpr UINT kLeaveDelayMs = 200;
constexpr UINT_PTR kLeaveTimer = 2;
constexpr wchar_t kOwnerClass[] = L"AtrybutyOwner";

std::unique_ptr<Journal> OpenJournal() {
  const std::filesystem::path path = JournalPath();
  return std::make_unique<FileJournal>(path, WideToUtf8(path.wstring()));
}

ComPtr<ITypeInfo> LoadOwnTypeInfo() {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  ComPtr<ITypeLib> library;
  ComPtr<ITypeInfo> info;
  if (SUCCEEDED(LoadTypeLibEx(exe, REGKIND_NONE, library.Receive()))) {
    library->GetTypeInfoOfGuid(IID__MorvalyClsAttribute, info.Receive());
  }
  return info;
}

}  // namespace

ComponentProcess::ComponentProcess(HINSTANCE instance, bool startedByCom)
    : instance_(instance), typeInfo_(LoadOwnTypeInfo()), journal_(OpenJournal()), packageDialog_(*this), form1_(*this) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = instance_;
  wc.lpszClassName = kOwnerClass;
  RegisterClassExW(&wc);
  owner_ = CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"Atrybuty", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           instance_, this);
  if (startedByCom)
    SetTimer(owner_, kStartTimer, kStartTimeoutMs, nullptr);
  else
    startWaitOver_ = true;
}

ComponentProcess::~ComponentProcess() {
  form1_.Terminate();
  packageDialog_.Unload();
  state_.hostExcel.reset();
  hostExcel_.Reset();
  if (owner_) DestroyWindow(owner_);
}

LRESULT CALLBACK ComponentProcess::OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  }
  auto* self = reinterpret_cast<ComponentProcess*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && msg == WM_TIMER && wp == kStartTimer) {
    KillTimer(hwnd, kStartTimer);
    self->startWaitOver_ = true;
    self->MaybeLeave();
    return 0;
  }
  if (self && msg == WM_TIMER && wp == kLeaveTimer) {
    KillTimer(hwnd, kLeaveTimer);
    self->Leave();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void ComponentProcess::OnObjectCreated(std::shared_ptr<AttributeData> data) {
  ++objects_;
  objectSeen_ = true;
  state_.theAttribute = std::move(data);
}

void ComponentProcess::OnObjectDestroyed() {
  --objects_;
  MaybeLeave();
}

void ComponentProcess::LockServer(bool lock) {
  locks_ += lock ? 1 : -1;
  MaybeLeave();
}

void ComponentProcess::OnDialogsChanged() { MaybeLeave(); }

// The process runs while an object exists, the host locks it, or a dialog is
// on screen. A dialog that is loaded but hidden (the viewer's, after an
// apply) cannot be reached once every object is gone, so it does not keep
// the process. When nothing holds, the process leaves a moment later (see
// Leave); we do this ourselves rather than trust CoReleaseServerProcess alone.
bool ComponentProcess::Held() const {
  auto shown = [](HWND dialog) { return dialog && IsWindowVisible(dialog); };
  // A dialog's handler may be running too: choosing another map unloads both
  // dialogs before it opens them again.
  return objects_ > 0 || locks_ > 0 || shown(form1_.Handle()) || shown(packageDialog_.Handle()) ||
         form1_.HandlerRunning() || (!objectSeen_ && !startWaitOver_);
}

void ComponentProcess::MaybeLeave() {
  if (leaving_ || Held()) return;
  leaving_ = true;
  SetTimer(owner_, kLeaveTimer, kLeaveDelayMs, nullptr);
}

// Outside any incoming call: the class object is revoked and the loop left,
// unless something took hold of the process meanwhile.
void ComponentProcess::Leave() {
  if (!leaving_) return;
  if (Held()) {
    leaving_ = false;
    return;
  }
  if (classCookie_) CoRevokeClassObject(std::exchange(classCookie_, 0));
  PostQuitMessage(0);
}

void ComponentProcess::SetHostExcel(IDispatch* excel) {
  hostExcel_ = ComPtr<IDispatch>::Share(excel);
  state_.hostExcel = excel ? MakeLateBound(hostExcel_) : nullptr;
}

Form1Services ComponentProcess::Services() {
  return Form1Services{state_, registry_, codec_, messages_, *journal_, *this};
}

std::optional<HostError> ComponentProcess::RunForm(const AttributeData& self) {
  RunFormServices services{registry_, temp_, codec_, messages_, packageDialog_, form1_};
  return atrybuty::RunForm(self, state_, services);
}

void ComponentProcess::UnloadMainDialog() { form1_.Unload(); }
void ComponentProcess::UnloadPackageDialog() { packageDialog_.Unload(); }

std::optional<HostError> ComponentProcess::RunFormAgain() {
  if (!state_.theAttribute) return HostError{"Brak obiektu Atrybuty."};
  // The object may be released by its host while its dialogs run.
  const std::shared_ptr<AttributeData> self = state_.theAttribute;
  return RunForm(*self);
}

void ComponentProcess::EndProcess() { ExitProcess(0); }

bool ComponentProcess::HandleDialogMessage(MSG& msg) {
  // Keyboard navigation (Tab, access keys, Enter, Esc) in modeless dialogs.
  for (HWND dialog : {form1_.Handle(), packageDialog_.Handle()}) {
    if (dialog && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd)) && IsDialogMessageW(dialog, &msg)) return true;
  }
  return false;
}

int ComponentProcess::Run(DWORD classCookie) {
  classCookie_ = classCookie;
  MaybeLeave();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (HandleDialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (classCookie_) CoRevokeClassObject(std::exchange(classCookie_, 0));
  return 0;
}

void ComponentProcess::RunModalLoop(const std::function<bool()>& shown) {
  MSG msg;
  while (shown()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      return;
    }
    if (HandleDialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void ComponentProcess::PumpWaitingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (HandleDialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace atrybuty::win32
