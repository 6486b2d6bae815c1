#include "platform/dispatch.h"

namespace tarnwick::platform {

bool DispatchValue::IsObject() const {
  const DispatchPointer* object = std::get_if<DispatchPointer>(&value_);
  return object != nullptr && *object != nullptr;
}

const std::string& DispatchValue::Text() const {
  static const std::string kEmpty;
  const std::string* text = std::get_if<std::string>(&value_);
  return text != nullptr ? *text : kEmpty;
}

int32_t DispatchValue::Number() const {
  const int32_t* number = std::get_if<int32_t>(&value_);
  return number != nullptr ? *number : 0;
}

DispatchPointer DispatchValue::Object() const {
  const DispatchPointer* object = std::get_if<DispatchPointer>(&value_);
  return object != nullptr ? *object : nullptr;
}

DispatchResult DispatchResult::Success(DispatchValue value) {
  DispatchResult result;
  result.ok = true;
  result.value = std::move(value);
  return result;
}

DispatchResult DispatchResult::Failure(std::string errorText) {
  DispatchResult result;
  result.errorText = std::move(errorText);
  return result;
}

}  // namespace tarnwick::platform
