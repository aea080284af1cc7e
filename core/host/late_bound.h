#pragma once
// Calls into automation objects by member name, as the component reaches the
// host's Excel application. Windows wraps IDispatch; tests record the calls.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace atrybuty {

class LateBound;

// An automation value as the component passes and reads it: nothing, an
// automation Boolean, a 16-bit or 32-bit integer, text (UTF-8), or an object.
struct Value {
  struct Empty {
    friend bool operator==(const Empty&, const Empty&) = default;
  };
  using Object = std::shared_ptr<LateBound>;
  std::variant<Empty, bool, std::int16_t, std::int32_t, std::string, Object> v;

  Value() = default;
  static Value Bool(bool b) { return Value{b}; }
  static Value I2(std::int16_t i) { return Value{i}; }
  static Value I4(std::int32_t i) { return Value{i}; }
  static Value Text(std::string s) { return Value{std::move(s)}; }
  static Value Obj(Object o) { return Value{std::move(o)}; }

  template <typename T>
  explicit Value(T x) : v(std::move(x)) {}
};

// How an argument is passed: by value, or by reference (the callee may read
// and write the caller's variable).
struct Arg {
  Value value;
  bool byRef = false;
};

struct CallResult {
  bool ok = false;
  Value value;
  std::string error;  // what failed, for the user (UTF-8)
};

class LateBound {
 public:
  virtual ~LateBound() = default;
  // A property read or method call: obj.member(args).
  virtual CallResult Get(std::string_view member, std::vector<Arg> args = {}) = 0;
  // A method call whose value is not needed.
  virtual CallResult Call(std::string_view member, std::vector<Arg> args = {}) = 0;
  // A property assignment: obj.member = value.
  virtual CallResult Put(std::string_view member, Value value) = 0;
  // The items of a collection, in the collection's order (For Each).
  virtual std::variant<std::vector<Value::Object>, std::string> Enumerate() = 0;
};

}  // namespace atrybuty
