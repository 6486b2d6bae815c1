#include "probe/gui_probe.h"

#include "platform/ems_records.h"
#include "platform/symbol_export.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#define PROBE_EXPORT TARNWICK_SYMBOL_EXPORT

namespace {

GuiProbe probe;

char* Copy(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  std::memcpy(copy, text.c_str(), text.size() + 1);
  ++probe.outstandingBlocks;
  return copy;
}

// The MIME records handed out: ems_free takes them back whole.
EmsMimeType* handedOutMime = nullptr;

EmsMimeType* NewMimeType(const char* type, const char* subtype) {
  auto* mime = static_cast<EmsMimeType*>(std::calloc(1, sizeof(EmsMimeType)));
  mime->size = sizeof(EmsMimeType);
  mime->version = strdup("");
  mime->type = strdup(type);
  mime->subtype = strdup(subtype);
  ++probe.outstandingBlocks;
  handedOutMime = mime;
  return mime;
}

std::string ReadFile(const char* path) {
  std::ifstream in(path != nullptr ? path : "", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

PROBE_EXPORT GuiProbe* probe_record() {
  return &probe;
}

PROBE_EXPORT int32_t ems_plugin_version(int16_t* version) {
  *version = 4;
  return 0;
}

PROBE_EXPORT int32_t ems_plugin_init(void**, int16_t, EmsMailConfig*, EmsPluginInfo* info) {
  if (info == nullptr) return 0;
  info->numTranslators = 1;
  info->numSpecials = 1;
  info->description = Copy("GUI probe");
  return 0;
}

PROBE_EXPORT int32_t ems_plugin_finish(void*) {
  ++probe.finishCalls;
  return 0;
}

PROBE_EXPORT int32_t ems_free(void* memory) {
  if (memory == nullptr) return 0;
  --probe.outstandingBlocks;
  if (memory == handedOutMime) {
    std::free(handedOutMime->version);
    std::free(handedOutMime->type);
    std::free(handedOutMime->subtype);
    handedOutMime = nullptr;
  }
  std::free(memory);
  return 0;
}

PROBE_EXPORT int32_t ems_special_info(void*, EmsMenu* menu) {
  if (menu->id != 1) return 3;
  menu->name = Copy(kProbeSpecialEntry);
  return 0;
}

PROBE_EXPORT int32_t ems_special_hook(void*, EmsMenu* menu) {
  ++probe.hookCalls;
  probe.hookEntry = menu != nullptr ? menu->id : -1;
  if (probe.hookAction != nullptr) probe.hookAction(probe.hookData);
  return probe.hookResult;
}

PROBE_EXPORT int32_t ems_translator_info(void*, EmsTranslator* translator) {
  if (translator->id != 1) return 3;
  translator->type = 16;
  translator->flags = 0x1204;
  translator->description = Copy(kProbeTranslator);
  return 0;
}

PROBE_EXPORT int32_t ems_can_translate(void*, EmsTranslator* translator, EmsDataFile* file, void*) {
  ++probe.canTranslateCalls;
  if (translator == nullptr || file == nullptr || file->info == nullptr) return 2;
  probe.context = file->context;
  probe.mimeType = std::string(file->info->type) + "/" + file->info->subtype;
  const bool html = std::strcmp(file->info->type, "text") == 0 && std::strcmp(file->info->subtype, "html") == 0;
  return html && (file->context & 0x1204) != 0 ? 10 : 2;
}

PROBE_EXPORT int32_t ems_translate_file(void*, EmsTranslator*, EmsDataFile* in, EmsProgress, EmsDataFile* out, void*) {
  ++probe.translateCalls;
  probe.inputText = ReadFile(in->fileName);
  probe.subject = in->header != nullptr && in->header->subject != nullptr ? in->header->subject : "";
  probe.rawHeaders = in->header != nullptr && in->header->rawHeaders != nullptr ? in->header->rawHeaders : "";
  if (probe.translateResult != 0) return probe.translateResult;
  // The output file exists and is opened for update, as the host provides it.
  FILE* file = std::fopen(out->fileName, "r+b");
  if (file == nullptr) return 6;
  const std::string text = probe.rawHeaders + "\r\n\r\n<x-html>" + probe.translatedBody + "</x-html>";
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  out->info = NewMimeType("text", "plain");
  return 0;
}
