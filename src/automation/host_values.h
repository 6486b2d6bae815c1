#pragma once

#include "platform/dispatch.h"

#include <cstdint>
#include <string>

namespace tarnwick::automation {

/// The text of property `id` (with its arguments), or an empty text when the object is null, the
/// request fails or the value is no text.
std::string TextOf(const platform::DispatchPointer& object, int32_t id,
                   const platform::DispatchArguments& arguments = {});
/// The number of property `id`, or -1 on any failure.
int NumberOf(const platform::DispatchPointer& object, int32_t id, const platform::DispatchArguments& arguments = {});
/// The object of property `id`, or null on any failure.
platform::DispatchPointer ObjectOf(const platform::DispatchPointer& object, int32_t id,
                                   const platform::DispatchArguments& arguments = {});

}  // namespace tarnwick::automation
