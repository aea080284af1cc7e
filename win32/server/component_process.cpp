#include "win32/server/component_process.h"

#include <cstring>

#include "core/text/paths.h"
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
// Posted while a call sets an error: handled once the call has ended.
constexpr UINT kReleaseError = WM_APP + 1;

bool GuidLess(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof a) < 0; }

std::unique_ptr<Journal> OpenJournal() {
  const std::filesystem::path path = JournalPath();
  return std::make_unique<FileJournal>(path, Utf8FromPath(path));
}

ComPtr<ITypeLib> LoadOwnTypeLibrary() {
  wchar_t exe[MAX_PATH];
  ComPtr<ITypeLib> library;
  if (GetModuleFileNameW(nullptr, exe, MAX_PATH)) LoadTypeLibEx(exe, REGKIND_NONE, library.Receive());
  return library;
}

}  // namespace

ComponentProcess::ComponentProcess(HINSTANCE instance, bool startedByCom)
    : instance_(instance),
      typeLibrary_(LoadOwnTypeLibrary()),
      typeInfos_(GuidLess),
      journal_(OpenJournal()),
      packageDialog_(*this),
      form1_(*this),
      lifetime_(startedByCom, {[this] { return DialogsHold(); },
                               [this] { SetTimer(owner_, kLeaveTimer, kLeaveDelayMs, nullptr); },
                               [this] { Leave(); }}) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = instance_;
  wc.lpszClassName = kOwnerClass;
  RegisterClassExW(&wc);
  owner_ = CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"Atrybuty", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           instance_, this);
  if (startedByCom) SetTimer(owner_, kStartTimer, kStartTimeoutMs, nullptr);
}

ComponentProcess::~ComponentProcess() {
  Shutdown();
  if (owner_) DestroyWindow(owner_);
}

void ComponentProcess::Shutdown() {
  form1_.Terminate();
  packageDialog_.Unload();
  state_.hostExcel.reset();
  hostExcel_.Reset();
}

LRESULT CALLBACK ComponentProcess::OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  }
  auto* self = reinterpret_cast<ComponentProcess*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && msg == WM_TIMER && wp == kStartTimer) {
    KillTimer(hwnd, kStartTimer);
    self->lifetime_.StartWaitOver();
    return 0;
  }
  if (msg == kReleaseError) {
    SetErrorInfo(0, nullptr);
    return 0;
  }
  if (self && msg == WM_TIMER && wp == kLeaveTimer) {
    KillTimer(hwnd, kLeaveTimer);
    self->lifetime_.LeaveNow();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void ComponentProcess::OnObjectCreated(std::shared_ptr<AttributeData> attribute) {
  lifetime_.ObjectCreated();
  if (attribute) state_.theAttribute = std::move(attribute);
}

void ComponentProcess::OnObjectDestroyed() { lifetime_.ObjectDestroyed(); }

void ComponentProcess::LockServer(bool lock) { lifetime_.Lock(lock); }

void ComponentProcess::ReleaseErrorAfterCall() {
  if (owner_) PostMessageW(owner_, kReleaseError, 0, 0);
}

ITypeInfo* ComponentProcess::TypeInfo(REFIID iid) const {
  auto found = typeInfos_.find(iid);
  if (found == typeInfos_.end()) {
    ComPtr<ITypeInfo> info;
    if (typeLibrary_) typeLibrary_->GetTypeInfoOfGuid(iid, info.Receive());
    found = typeInfos_.emplace(iid, std::move(info)).first;
  }
  return found->second.Get();
}

// A dialog that is loaded but hidden (the viewer's, after an apply) cannot be
// reached once every object is gone, so it does not keep the process. A
// dialog's handler does: choosing another map unloads both dialogs before it
// opens them again. We leave by ourselves rather than trust
// CoReleaseServerProcess alone.
bool ComponentProcess::DialogsHold() const {
  auto shown = [](HWND dialog) { return dialog && IsWindowVisible(dialog); };
  return shown(form1_.Handle()) || shown(packageDialog_.Handle()) || form1_.HandlerRunning();
}

// Outside any incoming call: the class objects are revoked and the loop left.
void ComponentProcess::Leave() {
  for (DWORD cookie : std::exchange(classCookies_, {})) CoRevokeClassObject(cookie);
  PostQuitMessage(0);
}

void ComponentProcess::SetHostExcel(IDispatch* excel) {
  hostExcel_ = ComPtr<IDispatch>::Share(excel);
  RetryPolicy retry;
  retry.wait = [this](std::chrono::milliseconds time) { WaitForBusyHost(time); };
  state_.hostExcel = excel ? MakeLateBound(ComPtr<IDispatch>::Share(excel), retry) : nullptr;
}

void ComponentProcess::WaitForBusyHost(std::chrono::milliseconds time) {
  HWND dialog = form1_.Handle();
  const bool wasEnabled = dialog && IsWindowEnabled(dialog);
  if (wasEnabled) EnableWindow(dialog, FALSE);
  WaitPumping(nullptr, static_cast<DWORD>(time.count()));
  if (wasEnabled && IsWindow(dialog)) EnableWindow(dialog, TRUE);
}

Form1Services ComponentProcess::ControllerServices(Elevation& elevation) {
  return Form1Services{state_, registry_, codec_, messages_, *journal_, *this, files_, elevation};
}

// A RunForm that arrives while a handler of the main dialog runs (a message
// box of its load, an apply waiting for Excel) is refused: unloading the
// dialog under the handler, or loading another package into it, would leave
// the handler on a window that is gone or on layers of another package.
std::optional<HostError> ComponentProcess::RunForm(const AttributeData& self) {
  if (form1_.HandlerRunning()) {
    return HostError{HostErrorKind::Busy,
                     "Okno \"Zmiana atrybutów linii\" jest zajęte: czeka na odpowiedź użytkownika albo kończy "
                     "zmianę. Zamknij komunikat w tym oknie i wywołaj RunForm ponownie."};
  }
  RunFormServices services{registry_, temp_, codec_, messages_, packageDialog_, form1_};
  return atrybuty::RunForm(self, state_, services);
}

void ComponentProcess::UnloadMainDialog() { form1_.Unload(); }
void ComponentProcess::UnloadPackageDialog() { packageDialog_.Unload(); }

std::optional<HostError> ComponentProcess::RunFormAgain() {
  if (!state_.theAttribute) return HostError{HostErrorKind::DialogFailed, "Brak obiektu Atrybuty."};
  // The object may be released by its host while its dialogs run.
  const std::shared_ptr<AttributeData> self = state_.theAttribute;
  RunFormServices services{registry_, temp_, codec_, messages_, packageDialog_, form1_};
  return atrybuty::RunForm(*self, state_, services);
}

void ComponentProcess::EndProcess() { ExitProcess(0); }

bool ComponentProcess::HandleDialogMessage(MSG& msg) {
  // Keyboard navigation (Tab, access keys, Enter, Esc) in modeless dialogs.
  for (HWND dialog : {form1_.Handle(), packageDialog_.Handle()}) {
    if (dialog && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd)) && IsDialogMessageW(dialog, &msg)) return true;
  }
  return false;
}

int ComponentProcess::Run(std::vector<DWORD> classCookies) {
  classCookies_ = std::move(classCookies);
  lifetime_.Changed();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (HandleDialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  for (DWORD cookie : std::exchange(classCookies_, {})) CoRevokeClassObject(cookie);
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

bool ComponentProcess::WaitPumping(HANDLE handle, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = milliseconds == INFINITE ? INFINITE : now >= end ? 0 : static_cast<DWORD>(end - now);
    const DWORD woke = MsgWaitForMultipleObjectsEx(handle ? 1 : 0, handle ? &handle : nullptr, left, QS_ALLINPUT,
                                                   MWMO_INPUTAVAILABLE);
    if (handle && woke == WAIT_OBJECT_0) return true;
    if (woke == WAIT_TIMEOUT || woke == WAIT_FAILED) return false;
    PumpWaitingMessages();
    MSG quit;
    if (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return false;  // the process is ending
  }
}

}  // namespace atrybuty::win32
