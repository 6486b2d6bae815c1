#include "core/file_ops.h"

#include "core/host_texts.h"
#include "platform/file_system.h"

#include <cerrno>

namespace tarnwick::host {
namespace {

FileState FromInfo(const platform::FileInfo& info) {
  FileState state;
  state.exists = info.exists;
  state.size = info.size;
  state.modifiedSeconds = info.modifiedSeconds;
  state.modifiedNanoseconds = info.modifiedNanoseconds;
  state.inode = info.identity;
  return state;
}

}  // namespace

FileState StatePath(const std::string& path, int* errorNumber) {
  const platform::FileInfo info = platform::PathInfo(path);
  if (!info.exists && errorNumber != nullptr) *errorNumber = errno;
  return FromInfo(info);
}

FileState StateOf(const platform::File& file) {
  return FromInfo(file.Info());
}

StoreStatus ReadRange(const std::string& path, uint64_t offset, uint64_t length, std::string& bytes) {
  bytes.assign(length, '\0');
  platform::File file = platform::File::Open(path, platform::FileAccess::kRead, platform::FileCreation::kExisting);
  if (!file.IsOpen()) return StoreStatus::Failure(CannotReadText(path, errno));
  uint64_t done = 0;
  while (done < length) {
    const int64_t got = file.ReadAt(bytes.data() + done, length - done, offset + done);
    if (got < 0) return StoreStatus::Failure(CannotReadText(path, errno));
    if (got == 0) return StoreStatus::Failure(ChangedUnderfootText(path));
    done += static_cast<uint64_t>(got);
  }
  return StoreStatus::Success();
}

platform::File CreateSiblingTemporary(const std::string& path, std::string& temporaryPath, std::string& errorText) {
  platform::File file = platform::CreateUniqueFile(path + ".", temporaryPath);
  if (!file.IsOpen()) {
    errorText = CannotWriteText(path, errno);
    return file;
  }
  file.TakePermissionsOf(path);
  return file;
}

StoreStatus ReplaceFile(const std::string& path, std::string_view bytes, FileState* state) {
  std::string temporaryPath;
  std::string errorText;
  platform::File file = CreateSiblingTemporary(path, temporaryPath, errorText);
  if (!file.IsOpen()) return StoreStatus::Failure(errorText);
  if (!file.WriteAll(bytes) || !file.Sync()) {
    int error = errno;
    file.Close();
    platform::RemoveFile(temporaryPath);
    return StoreStatus::Failure(CannotWriteText(path, error));
  }
  if (state != nullptr) *state = StateOf(file);
  file.Close();
  if (!platform::RenameReplacing(temporaryPath, path)) {
    int error = errno;
    platform::RemoveFile(temporaryPath);
    return StoreStatus::Failure(CannotWriteText(path, error));
  }
  return StoreStatus::Success();
}

bool AppendAtEnd(platform::File& file, std::string_view bytes, uint64_t& start, uint64_t& written) {
  start = 0;
  written = 0;
  while (written < bytes.size()) {
    const int64_t put = file.Write(bytes.data() + written, bytes.size() - written);
    if (put <= 0) return false;
    const int64_t end = file.Position();  // just past the bytes written, wherever the end was
    if (written == 0 && end >= put) start = static_cast<uint64_t>(end - put);
    written += static_cast<uint64_t>(put);
  }
  return true;
}

}  // namespace tarnwick::host
