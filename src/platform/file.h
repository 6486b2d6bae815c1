#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::platform {

/// What the system tells of a file or folder. Times are seconds since 1970 (UTC).
struct FileInfo {
  bool exists = false;
  bool isFolder = false;
  bool readOnly = false;
  uint64_t size = 0;
  int64_t createdSeconds = 0;  ///< the creation time, or the last change of the file's status where none is kept
  int64_t accessedSeconds = 0;
  int64_t modifiedSeconds = 0;
  int64_t modifiedNanoseconds = 0;  ///< the part of the modification time below a second
  int64_t changedNanoseconds = 0;   ///< the last change of bytes or attributes, in nanoseconds since 1970
  uint64_t volume = 0;              ///< the number of the volume that holds the file
  uint64_t identity = 0;            ///< the file's number on its volume: a replaced file gets a new one

  bool operator==(const FileInfo&) const = default;
};

/// How a file is opened.
enum class FileAccess {
  kRead,
  kWrite,
  kReadWrite,
  kAppend,  ///< reading, and every write lands at the end of the file as it is at that moment
};

/// What opening does when the file is there or not.
enum class FileCreation {
  kExisting,   ///< fails when the file is missing
  kCreate,     ///< creates a missing file, keeps the bytes of one that is there
  kCreateNew,  ///< fails (errno EEXIST) when the file is there already
  kTruncate,   ///< creates a missing file, cuts one that is there to length 0
};

/// The outcome of trying to lock a file.
enum class LockResult { kLocked, kBusy, kFailed };

/// An open file, closed with the object. Bytes are read and written as they are (never in a text
/// mode), and other programs may read, write, rename or delete the file while it is open, so that
/// files can be replaced atomically under a reader. Failures leave the reason in errno.
/// One object may be used by one thread at a time.
class File {
public:
  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  /// Opens the file at the UTF-8 `path`; a closed File (errno set) when it cannot.
  static File Open(const std::string& path, FileAccess access, FileCreation creation);

  /// True while the file is open.
  bool IsOpen() const { return handle_ != kClosed; }
  /// Reads up to `size` bytes at the current position: how many were read, 0 at the end, -1 on error.
  int64_t Read(void* buffer, size_t size);
  /// Reads up to `size` bytes at `offset`: how many, 0 at the end, -1 on error. The position for
  /// Read and WriteAll may move.
  int64_t ReadAt(void* buffer, size_t size, uint64_t offset);
  /// Writes up to `size` bytes at the current position (at the end, for kAppend) in one call: how
  /// many were written, -1 on error.
  int64_t Write(const void* bytes, size_t size);
  /// Writes every byte at the current position (at the end, for kAppend), going on after short
  /// writes. False on the first error (a full disk, for instance).
  bool WriteAll(std::string_view bytes);
  /// Writes every byte at `offset`. The position for Read and WriteAll may move.
  bool WriteAt(std::string_view bytes, uint64_t offset);
  /// The current position: just past the bytes of the last Read or WriteAll. -1 on error.
  int64_t Position() const;
  /// Moves the position to the end of the file and returns it; -1 on error.
  int64_t SeekToEnd();
  /// Cuts or extends the file to `size` bytes.
  bool Truncate(uint64_t size);
  /// Waits until the bytes written are on the disk.
  bool Sync();
  /// The open file's state (exists false when it cannot be read).
  FileInfo Info() const;
  /// Gives the file the permissions of the file at `path`, or those of a new file when there is
  /// none. Systems without such permissions ignore it.
  void TakePermissionsOf(const std::string& path);
  /// Tries to lock the whole file for this process without waiting: kBusy while another process
  /// holds the lock. The lock goes with the file's closing or the end of the process.
  LockResult TryLock();
  /// Closes the file; false when the system reported an error (written bytes may be lost).
  bool Close();

private:
  static constexpr intptr_t kClosed = -1;
  explicit File(intptr_t handle, bool appending = false) : handle_(handle), appending_(appending) {}

  intptr_t handle_ = kClosed;  // the system's descriptor or handle
  bool appending_ = false;     // opened with kAppend, where the system needs to be told at every write
};

}  // namespace tarnwick::platform
