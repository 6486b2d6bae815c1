#pragma once

#include <cstddef>
#include <string>

namespace tarnwick::store {

/// False for paths shorter than 4 characters; otherwise true when a file or folder is there.
bool FileExists(const std::string& path);
/// False for paths shorter than 4 characters; otherwise true when the path is a folder.
bool FolderExists(const std::string& path);

/// Longest file name, in bytes, that the file systems take.
inline constexpr size_t kMaxFileNameBytes = 255;

/// The text with the characters \ / : * ? ! " ' < > | (and zero bytes) dropped, cut so that it and
/// `suffixBytes` more (an extension, a number) fit in kMaxFileNameBytes; "file" when nothing is
/// left. The cut falls between characters, never inside a UTF-8 sequence. Everything else, blanks
/// and dots included, stays.
std::string SafeFileName(const std::string& text, size_t suffixBytes = 0);

/// Full path of the running executable, or "-1" when it cannot be read.
std::string HostExecutablePath();

/// dataFolder + "/Feeds/" + SafeFileName(alias) + ".rss", the name cut to make room for the
/// extension: where a feed fetched in the background waits.
std::string FeedCachePath(const std::string& dataFolder, const std::string& alias);

/// dataFolder + "/" + SafeFileName(name) trimmed of white space + ".toc" (tableOfContents) or ".mbx",
/// the name cut to make room for the extension.
std::string MailboxFilePath(const std::string& dataFolder, const std::string& mailboxName, bool tableOfContents);

/// folder + "/" + SafeFileName(name) + "." + extension. The folder is created when missing (one
/// level). With `numbered`, digits are appended to the name, accumulating (news, news1, news12,
/// ...), until no file of that path exists; the name gives way to the digits and the extension, so
/// the whole file name fits in kMaxFileNameBytes. Unless `noCreate`, the file is created empty.
/// Empty when the folder or the file cannot be made, or the digits and extension alone do not fit.
std::string NumberedFilePath(const std::string& folder, const std::string& name, const std::string& extension,
                             bool numbered, bool noCreate);

/// Appends text and one line feed to the file, creating the file first when missing. An empty
/// text only creates the file. False when the file cannot be created or written.
bool AppendLine(const std::string& path, const std::string& text);

/// Creates the file or cuts it to length 0. False when it cannot be opened.
bool TruncateFile(const std::string& path);

/// Creates the file empty when it does not exist. Always true.
bool CreateIfMissing(const std::string& path);

/// The file's bytes up to its first zero byte. When it cannot be opened the user is told in a
/// message box and the result is empty.
std::string ReadWholeFile(const std::string& path);

}  // namespace tarnwick::store
