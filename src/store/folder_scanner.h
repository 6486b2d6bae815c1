#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace tarnwick::store {

/// One file or folder found by a scan.
struct FileEntry {
  std::string path;         // the folder passed in (ending in "/") plus the name found
  uint32_t attributes = 0;  // FileAttribute bits
  uint64_t size = 0;
  std::time_t created = 0;
  std::time_t accessed = 0;
  std::time_t written = 0;
};

/// Attribute bits of a FileEntry.
enum FileAttribute : uint32_t {
  kAttributeReadOnly = 0x01,
  kAttributeHidden = 0x02,
  kAttributeDirectory = 0x10,
  kAttributeNormal = 0x80,
};

/// Placement of new entries; any other value appends.
enum ScanSortMode : int {
  kScanUnsorted = 0,
  kScanSizeAscending = 2,
  kScanSizeDescending = 3,
  kScanPathAscending = 4,
  kScanPathDescending = 5,
};

/// Lists the files of a folder tree that match a mask, optionally keeping them sorted as they come.
class FolderScanner {
public:
  virtual ~FolderScanner() = default;

  /// Scans `folder`: first every sub-folder (added when `includeFolders`, scanned when `recurse`),
  /// then the files matching `mask` ("*.rss"; letter case ignored). So entries of sub-folders come
  /// before those of the folder itself. Linked folders are not entered, so a link cannot make a
  /// scan endless. Scanning stops as soon as `stop` (when given) is non-zero; `found` (when given)
  /// counts each entry added. Returns the number of entries this call added; a missing folder
  /// gives 0. `stop` and `found` may be used from other threads.
  int Scan(std::string folder, const std::string& mask, bool recurse, int sortMode, bool includeFolders,
           const std::atomic<int>* stop = nullptr, std::atomic<int>* found = nullptr);

  /// Inserts an entry at the place its sort mode gives and returns its index.
  virtual size_t Add(FileEntry entry, int sortMode);

  size_t Count() const { return entries_.size(); }
  const FileEntry& operator[](size_t index) const { return entries_[index]; }
  const std::vector<FileEntry>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

private:
  std::vector<FileEntry> entries_;
};

}  // namespace tarnwick::store
