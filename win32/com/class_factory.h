#pragma once
// The class object of a creatable class. One server process serves every
// object created while it runs.

#include <windows.h>
#include <objbase.h>

#include <functional>

#include "win32/com/com_object.h"
#include "win32/com/object_registry.h"

namespace atrybuty::win32 {

class ClassFactory final : public ComObject<IClassFactory> {
 public:
  // `make` creates a new object with one reference, or throws.
  ClassFactory(ObjectRegistry& registry, std::function<IUnknown*()> make)
      : registry_(registry), make_(std::move(make)) {}
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  ObjectRegistry& registry_;
  std::function<IUnknown*()> make_;
};

}  // namespace atrybuty::win32
