#pragma once

#include "platform/file.h"

#include <string>

namespace tarnwick::platform {

/// The state of the file or folder at the UTF-8 `path`, following symbolic links; exists false
/// (errno set) when it cannot be looked at.
FileInfo PathInfo(const std::string& path);
/// As PathInfo, but a symbolic link is described itself, not what it points to.
FileInfo EntryInfo(const std::string& path);
/// True when `path` is a folder.
bool IsFolder(const std::string& path);
/// Deletes a file; false (errno set) when it cannot.
bool RemoveFile(const std::string& path);
/// Renames `from` to `to`, replacing a file that is there in one step. False (errno set) when it cannot.
bool RenameReplacing(const std::string& from, const std::string& to);
/// Creates one folder; false (errno set, EEXIST when something is there) when it cannot.
bool MakeFolder(const std::string& path);
/// The absolute path of an existing file or folder, links resolved; empty (errno set) when it cannot be found.
std::string AbsolutePath(const std::string& path);
/// The full path of the running program; empty when the system does not tell.
std::string ExecutablePath();
/// The folder for temporary files, without a trailing separator.
std::string TemporaryFolder();
/// Creates a new file, open for reading and writing, whose path is `prefix` followed by characters
/// chosen to make it unique; the path goes to `path`. A closed File (errno set) when it cannot.
File CreateUniqueFile(const std::string& prefix, std::string& path);

}  // namespace tarnwick::platform
