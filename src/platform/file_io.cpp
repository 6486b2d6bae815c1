#include "platform/file_io.h"

#include "platform/file.h"

namespace tarnwick::platform {

bool ReadFileIfPresent(const std::string& path, std::string& bytes) {
  bytes.clear();
  File file = File::Open(path, FileAccess::kRead, FileCreation::kExisting);
  if (!file.IsOpen()) return false;
  char buffer[65536];
  for (;;) {
    const int64_t got = file.Read(buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) {
      bytes.clear();
      return false;
    }
    bytes.append(buffer, static_cast<size_t>(got));
  }
}

}  // namespace tarnwick::platform
