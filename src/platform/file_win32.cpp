#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/wide_text_win32.h"

#include <windows.h>

#include <cerrno>
#include <string>
#include <utility>

namespace tarnwick::platform {
namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kTicksFrom1601To1970 = 116'444'736'000'000'000;
// The data-folder lock is one byte far beyond any data: Windows locks forbid others to read and
// write the bytes they cover, and the lock file's own bytes (the holder's process id) stay readable.
constexpr DWORD kLockOffsetHigh = 0x40000000;
// Every opener lets the others read, write, rename and delete: the atomic replacements work while
// a reader holds the file, as they do on POSIX systems.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool IsFolderAttribute(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

HANDLE Handle(intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

int64_t Ticks(const LARGE_INTEGER& time) {
  return time.QuadPart - kTicksFrom1601To1970;
}

int64_t Ticks(const FILETIME& time) {
  LARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = static_cast<LONG>(time.dwHighDateTime);
  return Ticks(value);
}

int64_t Seconds(int64_t ticks) {
  return ticks >= 0 ? ticks / kTicksPerSecond : -((-ticks - 1) / kTicksPerSecond) - 1;
}

FileInfo InfoOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION about{};
  if (!GetFileInformationByHandle(handle, &about)) {
    FailWithLastError();
    return {};
  }
  FileInfo info;
  info.exists = true;
  info.isFolder = (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  info.readOnly = (about.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
  info.size = info.isFolder ? 0 : (uint64_t{about.nFileSizeHigh} << 32) | about.nFileSizeLow;
  info.createdSeconds = Seconds(Ticks(about.ftCreationTime));
  info.accessedSeconds = Seconds(Ticks(about.ftLastAccessTime));
  const int64_t written = Ticks(about.ftLastWriteTime);
  info.modifiedSeconds = Seconds(written);
  info.modifiedNanoseconds = (written - info.modifiedSeconds * kTicksPerSecond) * 100;
  info.changedNanoseconds = written * 100;
  FILE_BASIC_INFO basic{};
  if (GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) {
    info.changedNanoseconds = Ticks(basic.ChangeTime) * 100;
  }
  info.volume = about.dwVolumeSerialNumber;
  info.identity = (uint64_t{about.nFileIndexHigh} << 32) | about.nFileIndexLow;
  return info;
}

FileInfo InfoOfPath(const std::string& path, DWORD flags) {
  HANDLE handle = CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    FailWithLastError();
    return {};
  }
  FileInfo info = InfoOf(handle);
  CloseHandle(handle);
  return info;
}

OVERLAPPED At(uint64_t offset) {
  OVERLAPPED overlapped{};
  overlapped.Offset = static_cast<DWORD>(offset);
  overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return overlapped;
}

// -1, the count of a failed read or write, with errno set.
int64_t FailedCount() {
  FailWithLastError();
  return -1;
}

DWORD Chunk(size_t size) {
  return size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
}

}  // namespace

// The path functions of file_system.h that describe a file live here, beside File::Info.
FileInfo PathInfo(const std::string& path) {
  return InfoOfPath(path, 0);
}

FileInfo EntryInfo(const std::string& path) {
  return InfoOfPath(path, FILE_FLAG_OPEN_REPARSE_POINT);
}

File File::Open(const std::string& path, FileAccess access, FileCreation creation) {
  DWORD desired = GENERIC_READ | GENERIC_WRITE;
  if (access == FileAccess::kRead) desired = GENERIC_READ;
  if (access == FileAccess::kWrite) desired = GENERIC_WRITE;
  DWORD disposition = OPEN_EXISTING;
  if (creation == FileCreation::kCreate) disposition = OPEN_ALWAYS;
  if (creation == FileCreation::kCreateNew) disposition = CREATE_NEW;
  if (creation == FileCreation::kTruncate) disposition = CREATE_ALWAYS;
  const std::wstring wide = WidePath(path);
  HANDLE handle = CreateFileW(wide.c_str(), desired, kShareAll, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const bool folder = GetLastError() == ERROR_ACCESS_DENIED && IsFolderAttribute(GetFileAttributesW(wide.c_str()));
    FailWithLastError();
    if (folder) errno = EISDIR;  // as POSIX systems say it, instead of a refused access
    return {};
  }
  return File(reinterpret_cast<intptr_t>(handle), access == FileAccess::kAppend);
}

int64_t File::Read(void* buffer, size_t size) {
  DWORD got = 0;
  if (!ReadFile(Handle(handle_), buffer, Chunk(size), &got, nullptr)) return FailedCount();
  return got;
}

int64_t File::ReadAt(void* buffer, size_t size, uint64_t offset) {
  OVERLAPPED overlapped = At(offset);
  DWORD got = 0;
  if (!ReadFile(Handle(handle_), buffer, Chunk(size), &got, &overlapped)) {
    if (GetLastError() == ERROR_HANDLE_EOF) return 0;
    return FailedCount();
  }
  return got;
}

int64_t File::Write(const void* bytes, size_t size) {
  DWORD put = 0;
  // An offset of all ones writes at the end of the file as it is at that moment, in one step.
  OVERLAPPED atEnd = At(~uint64_t{0});
  if (!WriteFile(Handle(handle_), bytes, Chunk(size), &put, appending_ ? &atEnd : nullptr)) {
    return FailedCount();
  }
  return put;
}

bool File::WriteAt(std::string_view bytes, uint64_t offset) {
  while (!bytes.empty()) {
    OVERLAPPED overlapped = At(offset);
    DWORD put = 0;
    if (!WriteFile(Handle(handle_), bytes.data(), Chunk(bytes.size()), &put, &overlapped)) return FailWithLastError();
    if (put == 0) return false;
    bytes.remove_prefix(put);
    offset += put;
  }
  return true;
}

int64_t File::Position() const {
  LARGE_INTEGER position{};
  if (!SetFilePointerEx(Handle(handle_), LARGE_INTEGER{}, &position, FILE_CURRENT)) return FailedCount();
  return position.QuadPart;
}

int64_t File::SeekToEnd() {
  LARGE_INTEGER position{};
  if (!SetFilePointerEx(Handle(handle_), LARGE_INTEGER{}, &position, FILE_END)) return FailedCount();
  return position.QuadPart;
}

bool File::Truncate(uint64_t size) {
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
  return SetFileInformationByHandle(Handle(handle_), FileEndOfFileInfo, &end, sizeof end) || FailWithLastError();
}

bool File::Sync() {
  return FlushFileBuffers(Handle(handle_)) || FailWithLastError();
}

FileInfo File::Info() const {
  return InfoOf(Handle(handle_));
}

void File::TakePermissionsOf(const std::string& /*path*/) {
  // A new file takes the permissions that its folder hands down.
}

LockResult File::TryLock() {
  OVERLAPPED overlapped{};
  overlapped.OffsetHigh = kLockOffsetHigh;
  if (LockFileEx(Handle(handle_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &overlapped)) {
    return LockResult::kLocked;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return LockResult::kBusy;
  FailWithLastError();
  return LockResult::kFailed;
}

bool File::Close() {
  if (!IsOpen()) return true;
  return CloseHandle(Handle(std::exchange(handle_, kClosed))) || FailWithLastError();
}

}  // namespace tarnwick::platform
