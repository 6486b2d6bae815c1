#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarnwick::platform {

/// One change of an IniFile: the key set to `value`, or removed when it has none.
struct IniChange {
  std::string section;
  std::string key;
  std::optional<std::string> value;
};

/// An INI text file read and written the way the profile functions of a desktop system do it:
/// "[Section]" lines open sections, "key=value" lines follow; section and key names match without
/// regard to letter case; blanks around names and values are dropped, in the file and in the names
/// callers give; CR LF and LF line ends read the same. Every call sees the file as it is now (its
/// text is kept while the file looks the same: device, inode, size and times) and is complete in
/// itself: calls are serialised by a process-wide lock, and every write replaces the file through a
/// temporary file and a rename, so a crash leaves the old file or the new one, never a mix. A
/// missing file reads as empty.
///
/// A line whose first non-blank character is ";" is a comment: it never matches a key, is never
/// listed, and stays through every write and deletion. A section header's name runs to the last
/// "]" of its line ("[Tech [beta]]" is "Tech [beta]"); a line that starts with "[" but lacks "]"
/// opens a section named by the rest of the line. Duplicates: sections of the same name read as one
/// section in file order, and the first line of a key wins. Lines before the first section belong
/// to none and are never read.
class IniFile {
public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  /// The value of the key, or nullopt when the file, section or key is absent. A key written with
  /// nothing after "=" reads as an empty text; a value in double quotes reads without one pair.
  std::optional<std::string> Read(const std::string& section, const std::string& key) const;

  /// The lines of a section in file order: "key=value" with the blanks around "=" dropped (quotes
  /// kept), or the trimmed line itself when it holds no "="; blank lines and comments are left out.
  /// Empty when absent.
  std::vector<std::string> ReadSection(const std::string& section) const;

  /// Sets the key, replacing its first line, or appending it at the end of its section, or
  /// appending the section at the end of the file. The key is its whole name: one holding "=" never
  /// replaces the line of the key before that "=" but gets a line of its own, and one starting with
  /// ";" is written as a comment. CR and LF in names and value become blanks, so a value can never
  /// start a line of its own. False when the file cannot be replaced.
  bool Write(const std::string& section, const std::string& key, const std::string& value) const;

  /// Removes every line of the key in the section. True when the file is as asked afterwards.
  bool DeleteKey(const std::string& section, const std::string& key) const;

  /// Makes the changes in order, each as Write or DeleteKey would, and replaces the file once (not
  /// at all when nothing changes): a run of changes costs one write. False when the file cannot be
  /// replaced; then none of them is made.
  bool Apply(const std::vector<IniChange>& changes) const;

  /// Removes every occurrence of the section: its header and all its lines but the comments.
  bool DeleteSection(const std::string& section) const;

  /// Removes every occurrence of each of `sections` as DeleteSection does, then makes the changes
  /// as Apply does, all in one replacement of the file. False when the file cannot be replaced;
  /// then nothing is changed.
  bool RewriteSections(const std::vector<std::string>& sections, const std::vector<IniChange>& changes) const;

private:
  std::string path_;
};

}  // namespace tarnwick::platform
