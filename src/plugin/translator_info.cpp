#include "plugin/translator_info.h"

#include "plugin/host_memory.h"
#include "plugin/plugin_names.h"

#include <cstring>

namespace tarnwick::plugin {

int32_t DescribeTranslator(EmsTranslator* translator) {
  if (translator == nullptr) return platform::kEmsSuccess;
  if (translator->id != 1) return platform::kEmsOutOfRange;
  translator->type = kTranslatorType;
  translator->flags = kTranslatorFlags;
  translator->description = HeapCopy(kTranslatorDescription);
  translator->icon = IconBlock(kTranslatorIconResource);
  return platform::kEmsSuccess;
}

int32_t CanTranslate(const EmsTranslator* translator, const EmsDataFile* file) {
  if (translator == nullptr || file == nullptr) return platform::kEmsCannotTranslateThis;
  if (translator->id != 1) return platform::kEmsOutOfRange;
  const EmsMimeType* mime = file->info;
  if (mime == nullptr || mime->type == nullptr || mime->subtype == nullptr) return platform::kEmsCannotTranslateThis;
  bool servedContext = (static_cast<uint32_t>(file->context) & kTranslatorFlags) != 0;
  bool html = std::strcmp(mime->type, kTranslatorMimeType) == 0 && std::strcmp(mime->subtype, kTranslatorMimeSubtype) == 0;
  return servedContext && html ? platform::kEmsCanTranslateNow : platform::kEmsCannotTranslateThis;
}

}  // namespace tarnwick::plugin
