#include "core/automation_support.h"

#include "core/host_texts.h"

#include <exception>

namespace tarnwick::host {

using platform::DispatchArguments;
using platform::DispatchResult;

DispatchResult HostObject::Get(int32_t id, const DispatchArguments& arguments) {
  return Serve(RequestKind::kGet, id, arguments);
}

DispatchResult HostObject::Put(int32_t id, const platform::DispatchValue& value) {
  return Serve(RequestKind::kPut, id, DispatchArguments{value});
}

DispatchResult HostObject::Call(int32_t id, const DispatchArguments& arguments) {
  return Serve(RequestKind::kCall, id, arguments);
}

DispatchResult HostObject::Serve(RequestKind kind, int32_t id, const DispatchArguments& arguments) {
  std::shared_ptr<HostCore> core = core_.lock();
  if (!core) return DispatchResult::Failure(kHostGoneText);
  try {
    return Handle(*core, kind, id, arguments);
  } catch (const std::exception& error) {
    return DispatchResult::Failure(std::string(kHostFailedText) + ": " + error.what());
  } catch (...) {
    return DispatchResult::Failure(std::string(kHostFailedText) + ".");
  }
}

bool TextArgument(const DispatchArguments& arguments, size_t index, std::string& text) {
  if (index >= arguments.size() || !arguments[index].IsText()) return false;
  text = arguments[index].Text();
  return true;
}

bool NumberArgument(const DispatchArguments& arguments, size_t index, int32_t& number) {
  if (index >= arguments.size() || !arguments[index].IsNumber()) return false;
  number = arguments[index].Number();
  return true;
}

bool OptionalNumberArgument(const DispatchArguments& arguments, size_t index, int32_t& number, int32_t fallback) {
  if (index >= arguments.size() || arguments[index].IsEmpty()) {
    number = fallback;
    return true;
  }
  return NumberArgument(arguments, index, number);
}

DispatchResult UnknownMember() {
  return DispatchResult::Failure(kUnknownMemberText);
}

DispatchResult WrongArguments() {
  return DispatchResult::Failure(kWrongArgumentsText);
}

DispatchResult Failed(const StoreStatus& status) {
  return DispatchResult::Failure(status.errorText);
}

}  // namespace tarnwick::host
