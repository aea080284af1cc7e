#include "support/fake_excel.h"

#include <algorithm>

namespace atrybuty::testing {
namespace {

std::string DescribeValue(const Value& v) {
  struct {
    std::string operator()(const Value::Empty&) const { return "empty"; }
    std::string operator()(bool b) const { return std::string("bool:") + (b ? "True" : "False"); }
    std::string operator()(std::int16_t i) const { return "i2:" + std::to_string(i); }
    std::string operator()(std::int32_t i) const { return "i4:" + std::to_string(i); }
    std::string operator()(const std::string& s) const { return "str:" + s; }
    std::string operator()(const Value::Object&) const { return "object"; }
  } visitor;
  return std::visit(visitor, v.v);
}

std::string Line(const char* kind, std::string_view member, const std::vector<Arg>& args) {
  std::string line = std::string(kind) + " " + std::string(member) + "(";
  for (std::size_t i = 0; i < args.size(); ++i) line += (i ? ", " : "") + Describe(args[i]);
  return line + ")";
}

int IndexArg(const std::vector<Arg>& args, std::size_t at = 0) {
  if (args.size() <= at) return -1;
  if (const auto* i2 = std::get_if<std::int16_t>(&args[at].value.v)) return *i2;
  if (const auto* i4 = std::get_if<std::int32_t>(&args[at].value.v)) return *i4;
  return -1;
}

std::string TextArg(const std::vector<Arg>& args) {
  if (args.empty()) return {};
  const auto* s = std::get_if<std::string>(&args[0].value.v);
  return s ? *s : std::string();
}

CallResult Ok(Value v = {}) { return {true, std::move(v), {}}; }
CallResult Fail(const std::string& why) { return {false, {}, why}; }

// Each fake object answers the members it knows and records every call.
class Node : public LateBound, public std::enable_shared_from_this<Node> {
 public:
  explicit Node(FakeExcel& excel) : excel_(excel) {}
  CallResult Get(std::string_view member, std::vector<Arg> args) override {
    if (excel_.Record(Line("get", member, args))) return Fail("wywołanie odrzucone");
    return OnGet(member, args);
  }
  CallResult Call(std::string_view member, std::vector<Arg> args) override {
    if (excel_.Record(Line("call", member, args))) return Fail("wywołanie odrzucone");
    return OnCall(member, args);
  }
  CallResult Put(std::string_view member, Value value) override {
    if (excel_.Record("put " + std::string(member) + "=" + DescribeValue(value))) return Fail("wywołanie odrzucone");
    return OnPut(member, value);
  }
  std::variant<std::vector<Value::Object>, std::string> Enumerate() override {
    if (excel_.Record("enumerate")) return std::string("wywołanie odrzucone");
    return OnEnumerate();
  }

 protected:
  virtual CallResult OnGet(std::string_view, const std::vector<Arg>&) { return Fail("nieznana właściwość"); }
  virtual CallResult OnCall(std::string_view m, const std::vector<Arg>& a) { return OnGet(m, a); }
  virtual CallResult OnPut(std::string_view, const Value&) { return Fail("nieznana właściwość"); }
  virtual std::variant<std::vector<Value::Object>, std::string> OnEnumerate() { return std::string("to nie kolekcja"); }
  FakeExcel& excel_;
};

template <typename T, typename... A>
Value Make(A&&... a) {
  return Value::Obj(std::make_shared<T>(std::forward<A>(a)...));
}

class Leaf final : public Node {  // cells, embedded automation objects, windows
 public:
  using Node::Node;

 protected:
  CallResult OnCall(std::string_view m, const std::vector<Arg>&) override {
    return (m == "Select" || m == "Refresh" || m == "Activate") ? Ok() : Fail("nieznana metoda");
  }
  CallResult OnPut(std::string_view m, const Value&) override {
    return (m == "WindowState" || m == "ScreenUpdating") ? Ok() : Fail("nieznana właściwość");
  }
};

class OleObjectNode final : public Node {
 public:
  OleObjectNode(FakeExcel& e, std::string progId) : Node(e), progId_(std::move(progId)) {}

 protected:
  CallResult OnGet(std::string_view m, const std::vector<Arg>&) override {
    if (m == "ProgId") return Ok(Value::Text(progId_));
    if (m == "object") return Ok(Make<Leaf>(excel_));
    return Fail("nieznana właściwość");
  }
  CallResult OnCall(std::string_view m, const std::vector<Arg>& a) override {
    return (m == "Activate" || m == "Select") ? Ok() : OnGet(m, a);
  }

 private:
  std::string progId_;
};

class SheetNode final : public Node {
 public:
  SheetNode(FakeExcel& e, int book, int sheet) : Node(e), book_(book), sheet_(sheet) {}

 protected:
  const FakeSheet* Sheet() const {
    if (book_ < 0 || book_ >= static_cast<int>(excel_.open.size())) return nullptr;
    const auto& sheets = excel_.open[book_].sheets;
    return sheet_ >= 0 && sheet_ < static_cast<int>(sheets.size()) ? &sheets[sheet_] : nullptr;
  }
  CallResult OnGet(std::string_view m, const std::vector<Arg>& a) override;

 private:
  int book_, sheet_;
};

class OleObjectsNode final : public Node {
 public:
  OleObjectsNode(FakeExcel& e, int count) : Node(e), count_(count) {}

 protected:
  CallResult OnGet(std::string_view m, const std::vector<Arg>&) override {
    return m == "Count" ? Ok(Value::I4(count_)) : Fail("nieznana właściwość");
  }

 private:
  int count_;
};

CallResult SheetNode::OnGet(std::string_view m, const std::vector<Arg>& a) {
  const FakeSheet* s = Sheet();
  if (!s) return Fail("arkusz zamknięty");
  if (m == "Name") return Ok(Value::Text(s->name));
  if (m == "cells" && a.size() == 2) return Ok(Make<Leaf>(excel_));
  if (m == "OLEObjects" && a.empty()) return Ok(Make<OleObjectsNode>(excel_, static_cast<int>(s->objects.size())));
  if (m == "OLEObjects" && a.size() == 1) {
    const int i = IndexArg(a);
    if (i < 1 || i > static_cast<int>(s->objects.size())) return Fail("nie ma takiego obiektu");
    return Ok(Make<OleObjectNode>(excel_, s->objects[i - 1].progId));
  }
  return Fail("nieznana właściwość");
}

class WindowsNode final : public Node {
 public:
  WindowsNode(FakeExcel& e, int count) : Node(e), count_(count) {}

 protected:
  std::variant<std::vector<Value::Object>, std::string> OnEnumerate() override {
    std::vector<Value::Object> items;
    for (int i = 0; i < count_; ++i) items.push_back(std::make_shared<Leaf>(excel_));
    return items;
  }

 private:
  int count_;
};

class WorkbookNode final : public Node {
 public:
  WorkbookNode(FakeExcel& e, int book) : Node(e), book_(book) {}

 protected:
  FakeWorkbook* Book() const {
    return book_ >= 0 && book_ < static_cast<int>(excel_.open.size()) ? &excel_.open[book_] : nullptr;
  }
  CallResult OnGet(std::string_view m, const std::vector<Arg>& a) override {
    FakeWorkbook* b = Book();
    if (!b) return Fail("skoroszyt zamknięty");
    if (m == "Saved") return Ok(Value::Bool(b->saved));
    if (m == "FullName") return Ok(Value::Text(b->fullName));
    if (m == "Name") return Ok(Value::Text(b->name));
    if (m == "Windows" && a.empty()) return Ok(Make<WindowsNode>(excel_, b->windows));
    if (m == "Windows" && a.size() == 1 && IndexArg(a) >= 1 && IndexArg(a) <= b->windows) return Ok(Make<Leaf>(excel_));
    if (m == "worksheets" && a.size() == 1) {
      const std::string name = TextArg(a);
      for (std::size_t i = 0; i < b->sheets.size(); ++i) {
        if (b->sheets[i].name == name) return Ok(Make<SheetNode>(excel_, book_, static_cast<int>(i)));
      }
      return Fail("nie ma arkusza " + name);
    }
    return Fail("nieznana właściwość");
  }
  CallResult OnCall(std::string_view m, const std::vector<Arg>& a) override {
    FakeWorkbook* b = Book();
    if (!b) return Fail("skoroszyt zamknięty");
    if (m == "Save") {
      b->saved = true;
      return Ok();
    }
    if (m == "Close") {
      excel_.closed.push_back(*b);
      excel_.open.erase(excel_.open.begin() + book_);
      excel_.active = excel_.open.empty() ? -1 : 0;
      return Ok();
    }
    return OnGet(m, a);
  }

 private:
  int book_;
};

class WorkbooksNode final : public Node {
 public:
  using Node::Node;

 protected:
  CallResult OnGet(std::string_view m, const std::vector<Arg>&) override {
    return m == "Count" ? Ok(Value::I4(static_cast<std::int32_t>(excel_.open.size()))) : Fail("nieznana właściwość");
  }
  CallResult OnCall(std::string_view m, const std::vector<Arg>& a) override {
    if (m != "Open") return OnGet(m, a);
    const std::string path = TextArg(a);
    auto it = std::find_if(excel_.closed.begin(), excel_.closed.end(),
                           [&](const FakeWorkbook& b) { return b.fullName == path; });
    if (it == excel_.closed.end()) return Fail("nie ma pliku " + path);
    excel_.open.push_back(*it);
    excel_.closed.erase(it);
    excel_.active = static_cast<int>(excel_.open.size()) - 1;
    return Ok(Make<WorkbookNode>(excel_, excel_.active));
  }
};

class ApplicationNode final : public Node {
 public:
  using Node::Node;

 protected:
  CallResult OnGet(std::string_view m, const std::vector<Arg>& a) override {
    if (m == "workbooks" && a.empty()) return Ok(Make<WorkbooksNode>(excel_));
    if (m == "workbooks" && a.size() == 1) {
      const std::string name = TextArg(a);
      for (std::size_t i = 0; i < excel_.open.size(); ++i) {
        if (excel_.open[i].name == name) return Ok(Make<WorkbookNode>(excel_, static_cast<int>(i)));
      }
      return Fail("nie ma skoroszytu " + name);
    }
    if (m == "activeworkbook") {
      return excel_.active < 0 ? Fail("brak aktywnego skoroszytu") : Ok(Make<WorkbookNode>(excel_, excel_.active));
    }
    if (m == "activesheet") {
      if (excel_.active < 0) return Fail("brak aktywnego arkusza");
      return Ok(Make<SheetNode>(excel_, excel_.active, excel_.open[excel_.active].activeSheet));
    }
    return Fail("nieznana właściwość");
  }
};

}  // namespace

std::string Describe(const Arg& arg) {
  std::string d = DescribeValue(arg.value);
  const std::size_t colon = d.find(':');
  if (arg.byRef && colon != std::string::npos) d.insert(colon, "&");
  return d;
}

FakeExcel::FakeExcel() : app_(std::make_shared<ApplicationNode>(*this)) {}

void FakeExcel::AddWorkbook(FakeWorkbook book) {
  open.push_back(std::move(book));
  active = static_cast<int>(open.size()) - 1;
}

bool FakeExcel::Record(const std::string& line) {
  log.push_back(line);
  return !failOn.empty() && line == failOn;
}

}  // namespace atrybuty::testing
