#include "platform/file.h"

#include <utility>

namespace tarnwick::platform {

File::~File() {
  Close();
}

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, kClosed)), appending_(std::exchange(other.appending_, false)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, kClosed);
    appending_ = std::exchange(other.appending_, false);
  }
  return *this;
}

bool File::WriteAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const int64_t put = Write(bytes.data(), bytes.size());
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(put));
  }
  return true;
}

}  // namespace tarnwick::platform
