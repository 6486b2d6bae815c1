#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarnwick::platform {

/// An INI text file read and written the way the profile functions of a desktop system do it:
/// "[Section]" lines open sections, "key=value" lines follow; section and key names match without
/// regard to letter case; blanks around names and values are dropped; CR LF and LF line ends read
/// the same. Every call reads the file afresh and is complete in itself: calls are serialised by a
/// process-wide lock, and every write replaces the file through a temporary file and a rename, so a
/// crash leaves the old file or the new one, never a mix. A missing file reads as empty.
///
/// Duplicates: sections of the same name read as one section in file order, and the first line of
/// a key wins. A line that starts with "[" but lacks "]" opens a section named by the rest of the
/// line. Lines before the first section belong to none and are never read.
class IniFile {
public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  /// The value of the key, or nullopt when the file, section or key is absent.
  /// A key written with nothing after "=" reads as an empty text.
  std::optional<std::string> Read(const std::string& section, const std::string& key) const;

  /// The lines of a section in file order: "key=value" with the blanks around "=" dropped, or the
  /// trimmed line itself when it holds no "="; blank lines are left out. Empty when absent.
  std::vector<std::string> ReadSection(const std::string& section) const;

  /// Sets the key, replacing its first line, or appending it at the end of its section, or
  /// appending the section at the end of the file. CR and LF in names and value become blanks,
  /// so a value can never start a line of its own. False when the file cannot be replaced.
  bool Write(const std::string& section, const std::string& key, const std::string& value) const;

  /// Removes every line of the key in the section. True when the file is as asked afterwards.
  bool DeleteKey(const std::string& section, const std::string& key) const;

  /// Removes every occurrence of the section: its header and all its lines.
  bool DeleteSection(const std::string& section) const;

private:
  std::string path_;
};

}  // namespace tarnwick::platform
