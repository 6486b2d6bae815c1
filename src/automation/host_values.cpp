#include "automation/host_values.h"

namespace tarnwick::automation {

std::string TextOf(const platform::DispatchPointer& object, int32_t id, const platform::DispatchArguments& arguments) {
  if (!object) return {};
  platform::DispatchResult result = object->Get(id, arguments);
  return result.ok ? result.value.Text() : std::string();
}

int NumberOf(const platform::DispatchPointer& object, int32_t id, const platform::DispatchArguments& arguments) {
  if (!object) return -1;
  platform::DispatchResult result = object->Get(id, arguments);
  return result.ok && result.value.IsNumber() ? result.value.Number() : -1;
}

platform::DispatchPointer ObjectOf(const platform::DispatchPointer& object, int32_t id,
                                   const platform::DispatchArguments& arguments) {
  if (!object) return nullptr;
  platform::DispatchResult result = object->Get(id, arguments);
  return result.ok ? result.value.Object() : nullptr;
}

}  // namespace tarnwick::automation
