#pragma once
// The test host's side of the component: objects created by ProgID and
// called late-bound, as a VBA macro or VBScript calls them.

#include <windows.h>
#include <oaidl.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "win32/com/com_ptr.h"

namespace atrybuty::e2e {

using win32::ComPtr;

class AttributeClient {
 public:
  // CoCreateInstance of "Atrybuty.MorvalyClsAttribute" in the local server.
  static AttributeClient Create();
  explicit AttributeClient(ComPtr<IDispatch> object) : object_(std::move(object)) {}

  HRESULT PutText(const wchar_t* property, const std::wstring& text);
  HRESULT PutBool(const wchar_t* property, bool value);
  HRESULT PutRef(const wchar_t* property, IDispatch* object);
  std::wstring GetText(const wchar_t* property);
  bool GetBool(const wchar_t* property);
  ComPtr<IDispatch> GetObject(const wchar_t* property);
  // RunForm; on failure `description` gets Err.Description.
  HRESULT RunForm(std::wstring* description = nullptr);

  IDispatch* Get() const { return object_.Get(); }
  void Release() { object_.Reset(); }

 private:
  HRESULT Invoke(const wchar_t* member, WORD flags, VARIANT* arg, VARIANT* result, std::wstring* description = nullptr);
  ComPtr<IDispatch> object_;
};

// object.member(args...) late-bound, as a script calls it: `args` in the
// order of the call. On failure `description` gets Err.Description, and the
// result is the error's number.
HRESULT LateInvoke(IDispatch* object, const wchar_t* member, WORD flags, std::vector<win32::Variant>& args,
                   VARIANT* result = nullptr, std::wstring* description = nullptr);
// A VARIANT of a number, a text, or an argument left out.
win32::Variant Number(long value);
win32::Variant Text(const std::wstring& value);
win32::Variant Missing();

// What a RunForm call on another thread ended with.
struct RunFormOutcome {
  HRESULT hr = E_PENDING;
  std::wstring description;
  bool isChange = false;
};

// Creates an object on a thread of its own, lets `setup` set its properties,
// calls RunForm there (it may show modal dialogs) and reads IsChange after.
std::future<RunFormOutcome> RunFormOnThread(std::function<void(AttributeClient&)> setup);

// Server processes (atrybuty.exe) running now.
int ServerProcessCount();
// The one server process running now, or 0.
DWORD ServerProcessId();
bool WaitServerGone(std::chrono::milliseconds timeout = std::chrono::seconds(15));

}  // namespace atrybuty::e2e
