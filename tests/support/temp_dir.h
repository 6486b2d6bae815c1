#pragma once

#include <string>
#include <string_view>

namespace tarnwick::test {

/// A fresh folder under the system's temporary folder, removed with everything in it on destruction.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  /// The folder's path, without a trailing slash.
  const std::string& Path() const { return path_; }
  /// Path() + "/" + name.
  std::string File(const std::string& name) const;

private:
  std::string path_;
};

/// True when the folder's file system tells names apart that differ only in letter case (false on
/// Windows, whose file systems ignore it).
bool NamesDifferingInCaseAreDistinct(const TempDir& dir);

/// The reason a test that needs a symbolic link is skipped where none can be made.
inline constexpr char kNoSymbolicLinksReason[] = "symbolic links cannot be made on this system";

/// Makes `link` a symbolic link to `target`; false where the system or its user cannot make one.
bool MakeSymbolicLink(const std::string& target, const std::string& link);

/// Writes bytes to a file, replacing it; aborts the test binary when that fails.
void WriteFileBytes(const std::string& path, const std::string& bytes);
/// The whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

}  // namespace tarnwick::test
