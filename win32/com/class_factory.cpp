#include "win32/com/class_factory.h"

#include <new>

#include "win32/com/attribute_object.h"
#include "win32/server/component_process.h"

namespace atrybuty::win32 {

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IClassFactory) {
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  AttributeObject* object = nullptr;
  try {
    object = new AttributeObject(process_);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
  const HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  process_.LockServer(lock != FALSE);
  return S_OK;
}

}  // namespace atrybuty::win32
