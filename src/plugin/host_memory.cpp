#include "plugin/host_memory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

namespace tarnwick::plugin {
namespace {

// The MIME records handed out and not yet given back: ems_free must know them to free them whole.
struct MimeRecords {
  std::mutex lock;
  std::unordered_set<void*> live;
};

MimeRecords& HandedOutMimeRecords() {
  static MimeRecords records;
  return records;
}

void* Allocate(size_t size) {
  void* memory = std::calloc(1, size);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

void FreeParams(EmsMimeParam* param) {
  while (param != nullptr) {
    EmsMimeParam* next = param->next;
    std::free(param->name);
    std::free(param->value);
    std::free(param);
    param = next;
  }
}

}  // namespace

char* HeapCopy(const std::string& text) {
  char* copy = static_cast<char*>(Allocate(text.size() + 1));
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

EmsIconHandle* IconBlock(int32_t iconResource) {
  auto* block = static_cast<EmsIconHandle*>(Allocate(sizeof(EmsIconHandle)));
  *block = iconResource;
  return block;
}

EmsMimeType* NewMimeType(const std::string& type, const std::string& subtype) {
  auto* mime = static_cast<EmsMimeType*>(Allocate(sizeof(EmsMimeType)));
  mime->size = sizeof(EmsMimeType);
  mime->version = HeapCopy("");
  mime->type = HeapCopy(type);
  mime->subtype = HeapCopy(subtype);
  MimeRecords& records = HandedOutMimeRecords();
  std::lock_guard guard(records.lock);
  records.live.insert(mime);
  return mime;
}

void FreeHostMemory(void* memory) {
  if (memory == nullptr) return;
  MimeRecords& records = HandedOutMimeRecords();
  bool isMime = false;
  {
    std::lock_guard guard(records.lock);
    isMime = records.live.erase(memory) == 1;
  }
  if (isMime) {
    auto* mime = static_cast<EmsMimeType*>(memory);
    std::free(mime->version);
    std::free(mime->type);
    std::free(mime->subtype);
    FreeParams(mime->params);
    std::free(mime->contentDisposition);
    FreeParams(mime->contentParams);
  }
  std::free(memory);
}

}  // namespace tarnwick::plugin
