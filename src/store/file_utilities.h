#pragma once

#include <string>

namespace tarnwick::store {

/// False for paths shorter than 4 characters; otherwise true when a file or folder is there.
bool FileExists(const std::string& path);
/// False for paths shorter than 4 characters; otherwise true when the path is a folder.
bool FolderExists(const std::string& path);

/// The text with the characters \ / : * ? ! " ' < > | (and zero bytes) dropped, cut to 255
/// characters; "file" when nothing is left. Everything else, blanks and dots included, stays.
std::string SafeFileName(const std::string& text);

/// Full path of the running executable, or "-1" when it cannot be read.
std::string HostExecutablePath();

/// dataFolder + "/Feeds/" + SafeFileName(alias) + ".rss": where a feed fetched in the background waits.
std::string FeedCachePath(const std::string& dataFolder, const std::string& alias);

/// dataFolder + "/" + SafeFileName(name) trimmed of white space + ".toc" (tableOfContents) or ".mbx".
std::string MailboxFilePath(const std::string& dataFolder, const std::string& mailboxName, bool tableOfContents);

/// folder + "/" + SafeFileName(name) + "." + extension. The folder is created when missing (one
/// level). With `numbered`, digits are appended to the name, accumulating (news, news1, news12,
/// ...), until no file of that path exists. Unless `noCreate`, the file is created empty.
/// Empty when the folder or the file cannot be made.
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
