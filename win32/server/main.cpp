// atrybuty.exe: the out-of-process automation server.
//
//   atrybuty.exe /RegServer | /UnregServer          for the whole machine
//   atrybuty.exe /RegServerUser | /UnregServerUser  for the current user only
//   atrybuty.exe -Embedding                         started by COM to serve objects
//   atrybuty.exe /WriteRecord ARGS...               the elevated step of a dialog
//                                                   (see elevated_step.h)
//   atrybuty.exe                                    says what it is, and ends
//
// Registration exits at once (exit code 0 on success). Add /s to register
// without a message box.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "atrybuty_h.h"
#include "win32/com/attribute_object.h"
#include "win32/com/class_factory.h"
#include "win32/com/line_styles.h"
#include "win32/com/registration.h"
#include "win32/command_line.h"
#include "win32/dialogs/win_elevation.h"
#include "win32/server/component_process.h"
#include "win32/server/elevated_step.h"
#include "win32/system_message.h"

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

// COM is uninitialised here, before the process object goes: uninitialising
// releases what hosts still hold (error objects), which report to it.
int Serve(HINSTANCE instance, bool startedByCom) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  ComponentProcess process(instance, startedByCom);
  int code = 1;
  {
    const ComPtr<ClassFactory> attributes = ComPtr<ClassFactory>::Adopt(new ClassFactory(
        process, [&process]() -> IUnknown* { return static_cast<_MorvalyClsAttribute*>(new AttributeObject(process)); }));
    const ComPtr<ClassFactory> lineStyles =
        ComPtr<ClassFactory>::Adopt(new ClassFactory(process, [&process] { return MakeLineStyles(process); }));
    // Both classes are registered suspended and resumed together, so that a
    // host never finds one of them missing.
    DWORD cookies[2] = {};
    if (SUCCEEDED(CoRegisterClassObject(CLSID_MorvalyClsAttribute, attributes.Get(), CLSCTX_LOCAL_SERVER,
                                        REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &cookies[0])) &&
        SUCCEEDED(CoRegisterClassObject(CLSID_LineStyles, lineStyles.Get(), CLSCTX_LOCAL_SERVER,
                                        REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &cookies[1])) &&
        SUCCEEDED(CoResumeClassObjects())) {
      code = process.Run({cookies[0], cookies[1]});
    } else {
      for (DWORD cookie : cookies) {
        if (cookie) CoRevokeClassObject(cookie);
      }
    }
  }
  process.Shutdown();
  CoUninitialize();
  return code;
}

// Started by hand, with nothing to do: say what this program is.
int Introduce(HINSTANCE) {
  MessageBoxW(nullptr,
              L"Atrybuty zmienia wygląd linii warstw map (kolor, grubość, styl) w pakietach map programu "
              L"Microsoft Map. Uruchamia go makro programu Excel albo przeglądarka map, a nie użytkownik.\n\n"
              L"Aby zarejestrować składnik dla wszystkich użytkowników, uruchom jako administrator:\n"
              L"    atrybuty.exe /RegServer\n"
              L"a tylko dla siebie:\n"
              L"    atrybuty.exe /RegServerUser\n\n"
              L"Instalator Atrybuty robi to sam.",
              L"Atrybuty", MB_OK | MB_ICONINFORMATION);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const std::wstring line = commandLine ? commandLine : L"";
  const std::vector<std::wstring> words = SplitCommandLine(line);
  if (!words.empty() && lstrcmpiW(words.front().c_str(), kWriteRecordSwitch) == 0) {
    return RunElevatedStep({words.begin() + 1, words.end()});
  }
  if (words.empty()) return Introduce(instance);
  const bool silent = HasSwitch(line, L"s");
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  if (!HasSwitch(line, L"RegServer") && !HasSwitch(line, L"UnregServer") && !HasSwitch(line, L"RegServerUser") &&
      !HasSwitch(line, L"UnregServerUser")) {
    return Serve(instance, HasSwitch(line, L"Embedding") || HasSwitch(line, L"Automation"));
  }
  int code;
  if (HasSwitch(line, L"RegServer"))
    code = Register(true, RegistrationScope::Machine, silent);
  else if (HasSwitch(line, L"UnregServer"))
    code = Register(false, RegistrationScope::Machine, silent);
  else if (HasSwitch(line, L"RegServerUser"))
    code = Register(true, RegistrationScope::User, silent);
  else
    code = Register(false, RegistrationScope::User, silent);
  CoUninitialize();
  return code;
}
