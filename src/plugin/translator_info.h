#pragma once

#include "platform/ems_records.h"

#include <cstdint>

namespace tarnwick::plugin {

/// The one translator the module offers, number 1: "Get the Full Article".
inline constexpr char kTranslatorDescription[] = "Get the Full Article";
inline constexpr int32_t kTranslatorType = 16;
inline constexpr uint32_t kTranslatorFlags = 0x1204;
inline constexpr char kTranslatorMimeType[] = "text";
inline constexpr char kTranslatorMimeSubtype[] = "html";

/// Fills the translator record: 0, or 3 for a number other than 1; 0 at once without a record.
int32_t DescribeTranslator(EmsTranslator* translator);

/// 10 when the file is HTML text in a context the translator serves, 2 when it is not (or a record
/// is missing), 3 for a translator number other than 1.
int32_t CanTranslate(const EmsTranslator* translator, const EmsDataFile* file);

}  // namespace tarnwick::plugin
