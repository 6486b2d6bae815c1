#pragma once

// One temporary folder per fuzzing process, made on first use and removed with its files at exit.
// Memory-backed when the system has /dev/shm, so the writes the targets make stay cheap.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tarnwick::fuzz {

/// The process's folder, without a trailing slash; aborts when it cannot be made.
inline const std::string& FuzzFolder() {
  // Kept for the whole run, also for the clean-up at exit, which runs after static objects are gone.
  static const std::string* folder = [] {
    struct stat info {};
    std::string pattern = stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) ? "/dev/shm" : "/tmp";
    pattern += "/tarnwick-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(FuzzFolder(), ignored);
    });
    return new std::string(pattern);
  }();
  return *folder;
}

}  // namespace tarnwick::fuzz
