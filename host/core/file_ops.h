#pragma once

#include "core/store_status.h"
#include "platform/file.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::host {

/// What the host remembers of a file to notice when another program changed it.
struct FileState {
  bool exists = false;
  uint64_t size = 0;
  int64_t modifiedSeconds = 0;
  int64_t modifiedNanoseconds = 0;
  uint64_t inode = 0;

  bool operator==(const FileState&) const = default;
};

/// The state of the file at `path` now (exists false when it cannot be looked at; the system's
/// error number then goes to `errorNumber` when given).
FileState StatePath(const std::string& path, int* errorNumber = nullptr);
/// The state of an open file.
FileState StateOf(const platform::File& file);

/// Reads `length` bytes at `offset`; fails when the file is shorter or unreadable.
StoreStatus ReadRange(const std::string& path, uint64_t offset, uint64_t length, std::string& bytes);

/// Replaces the file with `bytes` through a temporary file beside it and a rename, so a crash leaves
/// the old file or the new one. The new file keeps the old one's permissions. `state` receives the
/// new file's state.
StoreStatus ReplaceFile(const std::string& path, std::string_view bytes, FileState* state);

/// A temporary file beside `path` (same folder, same permissions as `path` when it exists), opened
/// for reading and writing. A closed File, with `errorText` set, when it cannot be made.
platform::File CreateSiblingTemporary(const std::string& path, std::string& temporaryPath, std::string& errorText);

/// Appends to a file opened with FileAccess::kAppend in one write, so that no other writer's bytes
/// land inside them (going on after a short write, which only a full disk or a signal causes).
/// `start` receives where the bytes begin and `written` how many were written, also on failure.
bool AppendAtEnd(platform::File& file, std::string_view bytes, uint64_t& start, uint64_t& written);

}  // namespace tarnwick::host
