#pragma once
// The class object of MorvalyClsAttribute. One server process serves every
// object created while it runs.

#include <windows.h>
#include <objbase.h>

#include <atomic>

namespace atrybuty::win32 {

class ComponentProcess;

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(ComponentProcess& process) : process_(process) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override { return --refs_; }  // lives as long as the process owner
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  std::atomic<ULONG> refs_{1};
  ComponentProcess& process_;
};

}  // namespace atrybuty::win32
