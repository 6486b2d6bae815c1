#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace tarnwick::platform {

class DispatchObject;

/// A shared reference to an automation object; the object is released when its last holder lets go.
using DispatchPointer = std::shared_ptr<DispatchObject>;

/// One value passed through the dispatch interface: nothing, a text, a 32-bit number or an object.
class DispatchValue {
public:
  /// Nothing.
  DispatchValue() = default;
  /// A text.
  DispatchValue(std::string text) : value_(std::move(text)) {}
  /// A text (a null pointer gives an empty text).
  DispatchValue(const char* text) : value_(std::string(text != nullptr ? text : "")) {}
  /// A number.
  DispatchValue(int32_t number) : value_(number) {}
  /// An object reference (a null one counts as nothing for IsObject).
  DispatchValue(DispatchPointer object) : value_(std::move(object)) {}

  /// True when the value holds nothing.
  bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
  /// True when the value holds a text.
  bool IsText() const { return std::holds_alternative<std::string>(value_); }
  /// True when the value holds a number.
  bool IsNumber() const { return std::holds_alternative<int32_t>(value_); }
  /// True only for a value that holds an object reference that is not null.
  bool IsObject() const;

  /// The text, or an empty text when the value holds something else.
  const std::string& Text() const;
  /// The number, or 0 when the value holds something else.
  int32_t Number() const;
  /// The object, or null when the value holds something else.
  DispatchPointer Object() const;

private:
  std::variant<std::monostate, std::string, int32_t, DispatchPointer> value_;
};

/// The arguments of a get or a call, in the order the member defines them.
using DispatchArguments = std::vector<DispatchValue>;

/// The outcome of one request to an automation object: a value, or the text of the error that stopped it.
struct [[nodiscard]] DispatchResult {
  bool ok = false;
  DispatchValue value;
  std::string errorText;

  /// A successful outcome carrying `value` (nothing by default).
  static DispatchResult Success(DispatchValue value = {});
  /// A failed outcome with a readable reason.
  static DispatchResult Failure(std::string errorText);
};

/// An object of an automation server, reached by dispatch id. An object stays valid while it is
/// held, even when what it stands for goes away (its requests then fail with an error text).
/// Requests come from the thread that connected; nothing may throw out of them.
class DispatchObject {
public:
  virtual ~DispatchObject() = default;

  /// Reads the property `id`, with the arguments some properties take.
  virtual DispatchResult Get(int32_t id, const DispatchArguments& arguments) = 0;
  /// Sets the property `id` to `value`.
  virtual DispatchResult Put(int32_t id, const DispatchValue& value) = 0;
  /// Calls the method `id` with its arguments.
  virtual DispatchResult Call(int32_t id, const DispatchArguments& arguments) = 0;
};

}  // namespace tarnwick::platform
