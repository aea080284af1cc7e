// atrybuty.exe: the out-of-process automation server.
//
//   atrybuty.exe /RegServer | /UnregServer          for the whole machine
//   atrybuty.exe /RegServerUser | /UnregServerUser  for the current user only
//   atrybuty.exe -Embedding                         started by COM to serve objects
//
// Registration exits at once (exit code 0 on success). Add /s to register
// without a message box.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "atrybuty_h.h"
#include "win32/com/class_factory.h"
#include "win32/com/error_info.h"
#include "win32/com/registration.h"
#include "win32/server/component_process.h"

namespace {

using namespace atrybuty::win32;

bool HasSwitch(const std::wstring& commandLine, const wchar_t* name) {
  std::wstring line = commandLine;
  for (auto& c : line) c = static_cast<wchar_t>(towlower(c));
  std::wstring wanted = name;
  for (auto& c : wanted) c = static_cast<wchar_t>(towlower(c));
  for (const wchar_t* prefix : {L"/", L"-"}) {
    const std::wstring token = prefix + wanted;
    std::size_t at = 0;
    while ((at = line.find(token, at)) != std::wstring::npos) {
      const std::size_t end = at + token.size();
      const bool startOk = at == 0 || line[at - 1] == L' ' || line[at - 1] == L'\t';
      const bool endOk = end == line.size() || line[end] == L' ' || line[end] == L'\t';
      if (startOk && endOk) return true;
      at = end;
    }
  }
  return false;
}

int Register(bool install, RegistrationScope scope, bool silent) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const HRESULT hr = install ? RegisterServer(scope, exe) : UnregisterServer(scope);
  if (FAILED(hr) && !silent) {
    const std::wstring text = std::wstring(install ? L"Nie mogę zarejestrować składnika Atrybuty: "
                                                   : L"Nie mogę wyrejestrować składnika Atrybuty: ") +
                              SystemMessage(hr);
    MessageBoxW(nullptr, text.c_str(), L"Atrybuty", MB_OK | MB_ICONERROR);
  }
  return SUCCEEDED(hr) ? 0 : 1;
}

int Serve(HINSTANCE instance, bool startedByCom) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  ComponentProcess process(instance, startedByCom);
  ClassFactory factory(process);
  DWORD cookie = 0;
  const HRESULT hr =
      CoRegisterClassObject(CLSID_MorvalyClsAttribute, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);
  if (FAILED(hr)) return 1;
  return process.Run(cookie);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const std::wstring line = commandLine ? commandLine : L"";
  const bool silent = HasSwitch(line, L"s");
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  int code;
  if (HasSwitch(line, L"RegServer"))
    code = Register(true, RegistrationScope::Machine, silent);
  else if (HasSwitch(line, L"UnregServer"))
    code = Register(false, RegistrationScope::Machine, silent);
  else if (HasSwitch(line, L"RegServerUser"))
    code = Register(true, RegistrationScope::User, silent);
  else if (HasSwitch(line, L"UnregServerUser"))
    code = Register(false, RegistrationScope::User, silent);
  else
    code = Serve(instance, HasSwitch(line, L"Embedding") || HasSwitch(line, L"Automation"));
  CoUninitialize();
  return code;
}
