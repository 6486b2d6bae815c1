#pragma once

#include <cstdint>
#include <memory>

namespace tarnwick::test {

/// Lets no file of this process grow beyond a number of bytes while it lives, as a full disk
/// would: a write past the limit fails instead of ending the program. Where the system has no
/// such limit (Windows), Works() is false and nothing is limited.
class FileSizeLimit {
public:
  explicit FileSizeLimit(uint64_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  static bool Works();

private:
  struct Previous;
  std::unique_ptr<Previous> previous_;
};

}  // namespace tarnwick::test
