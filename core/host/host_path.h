#pragma once
// Walking a late-bound path from the host's Excel object, one member at a
// time, as in HostExcel.workbooks(name).worksheets(sheet).OLEObjects(i). The
// first failing step ends the walk and names itself in the error.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/late_bound.h"

namespace atrybuty {

std::optional<std::int16_t> AsInt16(const Value& v);
std::optional<bool> AsBool(const Value& v);
std::optional<std::string> AsText(const Value& v);

class HostPath {
 public:
  explicit HostPath(std::shared_ptr<LateBound> root);

  // obj.member(args), expected to give an object to walk on.
  HostPath Get(std::string_view member, std::vector<Arg> args = {}) const;
  // obj.member(args) as a value (property read or method result).
  CallResult Read(std::string_view member, std::vector<Arg> args = {}) const;
  // obj.member(args) with its value ignored.
  CallResult Call(std::string_view member, std::vector<Arg> args = {}) const;
  // obj.member = value.
  CallResult Put(std::string_view member, Value value) const;
  // The items of the collection the path names.
  std::variant<std::vector<Value::Object>, std::string> Items() const;

  bool ok() const { return ok_; }
  const std::string& error() const { return error_; }

 private:
  HostPath() = default;
  CallResult Failed() const;
  std::string Named(std::string_view member) const;

  std::shared_ptr<LateBound> object_;
  std::string path_;  // members walked so far, for messages
  bool ok_ = false;
  std::string error_;
};

}  // namespace atrybuty
