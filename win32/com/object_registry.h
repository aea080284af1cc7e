#pragma once
// What the server's COM classes need of the process that serves them: a word
// when an object comes and goes (the process's life depends on it), the lock
// error objects and hosts take, the type information their IDispatch is
// served from, the process-wide Excel object, and RunForm.

#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <optional>

#include "core/component/process_state.h"
#include "core/form1/form1_controller.h"
#include "win32/com/com_ptr.h"
#include "win32/com/error_info.h"

namespace atrybuty::win32 {

class ObjectRegistry : public ServerLock {
 public:
  // `attribute`: the properties of a MorvalyClsAttribute, which becomes
  // TheAttribute; null for objects of other classes.
  virtual void OnObjectCreated(std::shared_ptr<AttributeData> attribute) = 0;
  virtual void OnObjectDestroyed() = 0;
  // The type information of one of the type library's interfaces; null when
  // the library cannot be loaded.
  virtual ITypeInfo* TypeInfo(REFIID iid) const = 0;
  // The Excel property: one value for the whole process.
  virtual void SetHostExcel(IDispatch* excel) = 0;
  virtual ComPtr<IDispatch> HostExcel() const = 0;
  // RunForm for the object whose properties are `self`.
  virtual std::optional<HostError> RunForm(const AttributeData& self) = 0;
};

}  // namespace atrybuty::win32
