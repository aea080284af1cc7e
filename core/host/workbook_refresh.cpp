#include "core/host/workbook_refresh.h"

namespace atrybuty {
namespace {

constexpr char kMapProgId[] = "MSMap.8";

Arg ByRef(Value v) { return Arg{std::move(v), true}; }
Arg ByValue(Value v) { return Arg{std::move(v), false}; }

}  // namespace

std::variant<std::int16_t, std::string> OpenWorkbookCount(const HostPath& excel) {
  const CallResult count = excel.Get("workbooks").Read("Count");
  if (!count.ok) return count.error;
  if (const auto n = AsInt16(count.value)) return *n;
  return std::string("workbooks.Count: zła wartość");
}

std::variant<bool, std::string> ActiveWorkbookSaved(const HostPath& excel) {
  const CallResult saved = excel.Get("activeworkbook").Read("Saved");
  if (!saved.ok) return saved.error;
  if (const auto b = AsBool(saved.value)) return *b;
  return std::string("activeworkbook.Saved: zła wartość");
}

std::optional<std::string> RefreshWorkbook(const HostPath& excel, const std::function<void()>& pumpMessages) {
  const CallResult sheetName = excel.Get("activesheet").Read("Name");
  if (!sheetName.ok) return sheetName.error;
  const CallResult fullName = excel.Get("activeworkbook").Read("FullName");
  if (!fullName.ok) return fullName.error;
  if (CallResult r = excel.Get("activeworkbook").Call("Save"); !r.ok) return r.error;
  const CallResult bookName = excel.Get("activeworkbook").Read("Name");
  if (!bookName.ok) return bookName.error;
  if (CallResult r = excel.Get("activeworkbook").Call("Close"); !r.ok) return r.error;
  if (CallResult r = excel.Get("workbooks").Call("Open", {ByRef(fullName.value)}); !r.ok) return r.error;

  auto windows = excel.Get("activeworkbook").Get("Windows").Items();
  if (auto* error = std::get_if<std::string>(&windows)) return *error;
  for (const Value::Object& window : std::get<std::vector<Value::Object>>(windows)) {
    if (CallResult r = HostPath(window).Put("WindowState", Value::I2(1)); !r.ok) return "Windows: " + r.error;
  }

  // The reopened workbook and the sheet are always reached by name.
  auto sheet = [&] {
    return excel.Get("workbooks", {ByRef(bookName.value)}).Get("worksheets", {ByRef(sheetName.value)});
  };
  const CallResult count = sheet().Get("OLEObjects").Read("Count");
  const std::optional<std::int16_t> objects = count.ok ? AsInt16(count.value) : std::nullopt;
  if (!objects) return count.ok ? "OLEObjects.Count: zła wartość" : count.error;

  for (std::int16_t i = 1; i <= *objects && i > 0; ++i) {
    auto object = [&] { return sheet().Get("OLEObjects", {ByRef(Value::I2(i))}); };
    auto firstCell = [&] {
      return sheet().Get("cells", {ByValue(Value::I2(1)), ByValue(Value::I2(1))}).Call("Select");
    };
    if (CallResult r = object().Call("Activate"); !r.ok) return r.error;
    const CallResult progId = object().Read("ProgId");
    if (!progId.ok) return progId.error;
    if (AsText(progId.value) == std::optional<std::string>(kMapProgId)) {
      if (CallResult r = sheet().Get("OLEObjects", {ByValue(Value::I2(1))}).Call("Select"); !r.ok) return r.error;
      if (CallResult r = object().Get("object").Put("ScreenUpdating", Value::Bool(true)); !r.ok) return r.error;
      if (CallResult r = firstCell(); !r.ok) return r.error;
      pumpMessages();
    } else {
      if (CallResult r = firstCell(); !r.ok) return r.error;
      if (CallResult r = object().Get("object").Call("Refresh"); !r.ok) return r.error;
    }
  }

  const CallResult state = excel.Get("workbooks", {ByRef(bookName.value)})
                               .Get("Windows", {ByValue(Value::I2(1))})
                               .Put("WindowState", Value::I2(3));
  if (!state.ok) return state.error;
  return std::nullopt;
}

}  // namespace atrybuty
