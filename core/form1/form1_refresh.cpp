// Zmiana: after the write, the host's active workbook is saved, closed,
// opened again and the embedded objects of the sheet that was active are
// refreshed, every call late-bound by member name from HostExcel.

#include "core/form1/form1_controller.h"
#include "core/host/host_path.h"

namespace atrybuty {
namespace {

constexpr char kMapProgId[] = "MSMap.8";

Arg ByRef(Value v) { return Arg{std::move(v), true}; }
Arg ByValue(Value v) { return Arg{std::move(v), false}; }

}  // namespace

void Form1Controller::Zmiana() {
  if (ZmianaWarstw() != WriteOutcome::Written) return;

  const HostPath excel(s_.state.hostExcel);
  auto fail = [&](const std::string& error) { ReportHostFailure("odświeżyć arkusza", error, true); };

  const CallResult sheetName = excel.Get("activesheet").Read("Name");
  if (!sheetName.ok) return fail(sheetName.error);
  const CallResult fullName = excel.Get("activeworkbook").Read("FullName");
  if (!fullName.ok) return fail(fullName.error);
  if (CallResult r = excel.Get("activeworkbook").Call("Save"); !r.ok) return fail(r.error);
  const CallResult bookName = excel.Get("activeworkbook").Read("Name");
  if (!bookName.ok) return fail(bookName.error);
  if (CallResult r = excel.Get("activeworkbook").Call("Close"); !r.ok) return fail(r.error);
  if (CallResult r = excel.Get("workbooks").Call("Open", {ByRef(fullName.value)}); !r.ok) return fail(r.error);

  auto windows = excel.Get("activeworkbook").Get("Windows").Items();
  if (auto* error = std::get_if<std::string>(&windows)) return fail(*error);
  for (const Value::Object& window : std::get<std::vector<Value::Object>>(windows)) {
    if (CallResult r = HostPath(window).Put("WindowState", Value::I2(1)); !r.ok) return fail("Windows: " + r.error);
  }

  // The reopened workbook and the sheet are always reached by name.
  auto sheet = [&] {
    return excel.Get("workbooks", {ByRef(bookName.value)}).Get("worksheets", {ByRef(sheetName.value)});
  };
  const CallResult count = sheet().Get("OLEObjects").Read("Count");
  const std::optional<std::int16_t> objects = count.ok ? AsInt16(count.value) : std::nullopt;
  if (!objects) return fail(count.ok ? "OLEObjects.Count: zła wartość" : count.error);

  for (std::int16_t i = 1; i <= *objects && i > 0; ++i) {
    auto object = [&] { return sheet().Get("OLEObjects", {ByRef(Value::I2(i))}); };
    auto firstCell = [&] {
      return sheet().Get("cells", {ByValue(Value::I2(1)), ByValue(Value::I2(1))}).Call("Select");
    };
    if (CallResult r = object().Call("Activate"); !r.ok) return fail(r.error);
    const CallResult progId = object().Read("ProgId");
    if (!progId.ok) return fail(progId.error);
    if (AsText(progId.value) == std::optional<std::string>(kMapProgId)) {
      if (CallResult r = sheet().Get("OLEObjects", {ByValue(Value::I2(1))}).Call("Select"); !r.ok) return fail(r.error);
      if (CallResult r = object().Get("object").Put("ScreenUpdating", Value::Bool(true)); !r.ok) return fail(r.error);
      if (CallResult r = firstCell(); !r.ok) return fail(r.error);
      view_.PumpMessages();
    } else {
      if (CallResult r = firstCell(); !r.ok) return fail(r.error);
      if (CallResult r = object().Get("object").Call("Refresh"); !r.ok) return fail(r.error);
    }
  }

  const CallResult state = excel.Get("workbooks", {ByRef(bookName.value)})
                               .Get("Windows", {ByValue(Value::I2(1))})
                               .Put("WindowState", Value::I2(3));
  if (!state.ok) return fail(state.error);
}

}  // namespace atrybuty
