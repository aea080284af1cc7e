#include "core/host/host_path.h"

namespace atrybuty {

std::optional<std::int16_t> AsInt16(const Value& v) {
  if (const auto* i2 = std::get_if<std::int16_t>(&v.v)) return *i2;
  if (const auto* i4 = std::get_if<std::int32_t>(&v.v)) {
    if (*i4 >= -32768 && *i4 <= 32767) return static_cast<std::int16_t>(*i4);
  }
  return std::nullopt;
}

std::optional<bool> AsBool(const Value& v) {
  if (const auto* b = std::get_if<bool>(&v.v)) return *b;
  if (const auto i = AsInt16(v)) return *i != 0;
  return std::nullopt;
}

std::optional<std::string> AsText(const Value& v) {
  if (const auto* s = std::get_if<std::string>(&v.v)) return *s;
  return std::nullopt;
}

HostPath::HostPath(std::shared_ptr<LateBound> root) : object_(std::move(root)), ok_(object_ != nullptr) {
  if (!ok_) error_ = "brak obiektu Excel";
}

std::string HostPath::Named(std::string_view member) const {
  return path_.empty() ? std::string(member) : path_ + "." + std::string(member);
}

CallResult HostPath::Failed() const { return CallResult{false, {}, error_}; }

HostPath HostPath::Get(std::string_view member, std::vector<Arg> args) const {
  if (!ok_) return *this;
  HostPath next;
  next.path_ = Named(member);
  const CallResult r = object_->Get(member, std::move(args));
  const auto* object = std::get_if<Value::Object>(&r.value.v);
  if (!r.ok || !object || !*object) {
    next.error_ = next.path_ + ": " + (r.ok ? std::string("wynik nie jest obiektem") : r.error);
    return next;
  }
  next.object_ = *object;
  next.ok_ = true;
  return next;
}

CallResult HostPath::Read(std::string_view member, std::vector<Arg> args) const {
  if (!ok_) return Failed();
  CallResult r = object_->Get(member, std::move(args));
  if (!r.ok) r.error = Named(member) + ": " + r.error;
  return r;
}

CallResult HostPath::Call(std::string_view member, std::vector<Arg> args) const {
  if (!ok_) return Failed();
  CallResult r = object_->Call(member, std::move(args));
  if (!r.ok) r.error = Named(member) + ": " + r.error;
  return r;
}

CallResult HostPath::Put(std::string_view member, Value value) const {
  if (!ok_) return Failed();
  CallResult r = object_->Put(member, std::move(value));
  if (!r.ok) r.error = Named(member) + ": " + r.error;
  return r;
}

std::variant<std::vector<Value::Object>, std::string> HostPath::Items() const {
  if (!ok_) return error_;
  auto items = object_->Enumerate();
  if (auto* error = std::get_if<std::string>(&items)) *error = path_ + ": " + *error;
  return items;
}

}  // namespace atrybuty
