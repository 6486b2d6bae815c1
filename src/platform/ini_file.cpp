#include "platform/ini_file.h"

#include "platform/file_io.h"
#include "platform/file_system.h"
#include "platform/text.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace tarnwick::platform {
namespace {

std::mutex& ProfileLock() {
  static std::mutex lock;
  return lock;
}

enum class LineKind { Section, Key, Comment, Other, Blank };

// One line seen through views into the file's text: what it is, and its trimmed name and value.
struct LineView {
  LineKind kind = LineKind::Blank;
  std::string_view name;   // section or key name, or the whole trimmed line (empty for a comment)
  std::string_view value;  // key value
};

struct Line {
  std::string raw;  // without its line end
  LineKind kind = LineKind::Blank;
  std::string name;
};

struct Document {
  std::vector<Line> lines;
  std::string lineEnd = "\n";
};

// A line whose first non-blank character is this one is a comment: never a key, never listed.
constexpr char kCommentMark = ';';

std::string_view TrimView(std::string_view text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

LineView ViewLine(std::string_view raw) {
  LineView line;
  std::string_view trimmed = TrimView(raw);
  if (trimmed.empty()) return line;
  if (trimmed.front() == kCommentMark) {
    line.kind = LineKind::Comment;
  } else if (trimmed.front() == '[') {
    line.kind = LineKind::Section;
    // A name may hold "]" itself ("Tech [beta]"): it runs to the last "]" of the line.
    size_t close = trimmed.rfind(']');
    line.name = TrimView(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  } else if (size_t equals = trimmed.find('='); equals != std::string_view::npos) {
    line.kind = LineKind::Key;
    line.name = TrimView(trimmed.substr(0, equals));
    line.value = TrimView(trimmed.substr(equals + 1));
  } else {
    line.kind = LineKind::Other;
    line.name = trimmed;
  }
  return line;
}

Line ClassifyLine(std::string raw) {
  LineView view = ViewLine(raw);
  Line line{{}, view.kind, std::string(view.name)};
  line.raw = std::move(raw);
  return line;
}

// Calls visit(line, lineEnd) for every line of the text, the line without its CR LF or LF.
template <typename Visit>
void ForEachRawLine(std::string_view text, Visit visit) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    size_t stop = end == std::string_view::npos ? text.size() : end;
    size_t next = end == std::string_view::npos ? text.size() : end + 1;
    bool crlf = stop > start && text[stop - 1] == '\r';
    visit(text.substr(start, stop - start - (crlf ? 1 : 0)), end == std::string_view::npos ? "" : crlf ? "\r\n" : "\n");
    start = next;
  }
}

std::string LoadText(const std::string& path) {
  std::string text;
  ReadFileIfPresent(path, text);
  return text;
}

// How a file looked when its text was read: a file replaced through a rename, or changed in
// place, looks different.
struct FileLook {
  uint64_t volume = 0;
  uint64_t identity = 0;
  uint64_t size = 0;
  int64_t modifiedNanoseconds = 0;
  int64_t changedNanoseconds = 0;
  bool operator==(const FileLook&) const = default;
};

std::optional<FileLook> LookAt(const std::string& path) {
  const FileInfo info = PathInfo(path);
  if (!info.exists) return std::nullopt;
  return FileLook{info.volume, info.identity, info.size,
                  info.modifiedSeconds * 1'000'000'000 + info.modifiedNanoseconds, info.changedNanoseconds};
}

// Byte ranges of a text, each from where it begins to where the next begins, in file order.
using ByteRanges = std::vector<std::pair<size_t, size_t>>;
// Lower-case section name -> the byte ranges of the lines of each section of that name.
using SectionRanges = std::unordered_map<std::string, ByteRanges>;

// A file's text and where its sections lie, kept while the file looks the same: a check run reads
// several keys of every feed from one file that holds them all.
struct KnownText {
  FileLook look;
  std::string text;
  SectionRanges sections;
  // True when the text is as a rewrite writes it (Serialise): every line ends in `lineEnd`.
  // Changes are made by splicing such text, which then reads as the same lines.
  bool canonical = false;
  std::string lineEnd = "\n";
};

SectionRanges IndexSections(std::string_view text) {
  SectionRanges sections;
  ByteRanges* open = nullptr;
  ForEachRawLine(text, [&](std::string_view raw, std::string_view lineEnd) {
    const size_t start = static_cast<size_t>(raw.data() - text.data());
    LineView line = ViewLine(raw);
    if (line.kind != LineKind::Section) return;
    if (open != nullptr) open->back().second = start;
    open = &sections[ToLowerAscii(line.name)];
    open->emplace_back(start + raw.size() + lineEnd.size(), text.size());
  });
  return sections;
}

// Files whose text is known, by the path they were asked for; guarded by the profile lock.
std::unordered_map<std::string, KnownText>& KnownTexts() {
  static std::unordered_map<std::string, KnownText> texts;
  return texts;
}

// The file's text as it is now (empty when it is missing), read again only when it looks changed.
// The look comes first: a change during the read makes the next look differ.
const KnownText& CurrentText(const std::string& path) {
  static const KnownText kMissing;
  std::unordered_map<std::string, KnownText>& texts = KnownTexts();
  std::optional<FileLook> look = LookAt(path);
  if (!look) {
    texts.erase(path);
    return kMissing;
  }
  KnownText& known = texts[path];
  if (known.look == *look && !known.text.empty()) return known;
  known = KnownText{};
  known.look = *look;
  known.text = LoadText(path);
  known.sections = IndexSections(known.text);
  return known;
}

// Calls visit(line) for every line inside a section of the given name, in file order.
template <typename Visit>
void ForEachLineViewInSection(const KnownText& known, std::string_view section, Visit visit) {
  auto found = known.sections.find(ToLowerAscii(section));
  if (found == known.sections.end()) return;
  for (const auto& [begin, end] : found->second) {
    ForEachRawLine(std::string_view(known.text).substr(begin, end - begin),
                   [&](std::string_view raw, std::string_view) { visit(ViewLine(raw)); });
  }
}

Document ParseDocument(const std::string& text) {
  Document document;
  document.lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  bool firstEnd = true;
  ForEachRawLine(text, [&](std::string_view raw, std::string_view lineEnd) {
    if (firstEnd && !lineEnd.empty()) {
      document.lineEnd = lineEnd;
      firstEnd = false;
    }
    document.lines.push_back(ClassifyLine(std::string(raw)));
  });
  return document;
}

std::string Serialise(const Document& document) {
  std::string text;
  for (const Line& line : document.lines) {
    text += line.raw;
    // A line that ends in CR (a CR CR LF in the file) needs a CR LF after it: a bare LF would turn
    // its own CR into the line end and change what the line reads as.
    if (!line.raw.empty() && line.raw.back() == '\r' && document.lineEnd == "\n") text += '\r';
    text += document.lineEnd;
  }
  return text;
}

std::string WithoutLineBreaks(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

// A section or key name as callers give it stands for the name the file holds: a line break in it
// would end the line, so it is a blank, and blanks around it never count.
std::string NameArgument(std::string_view name) {
  return std::string(TrimView(WithoutLineBreaks(std::string(name))));
}

// A value written in double quotes reads without one pair of them, so that blanks at its ends can
// be kept: "  padded  " reads as two blanks, padded and two blanks.
std::string_view WithoutQuotes(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

// The file that a write must replace: the target of a symbolic link, so the link stays.
std::string ResolvedTarget(const std::string& path) {
  std::string resolved = AbsolutePath(path);
  return resolved.empty() ? path : resolved;
}

// Replaces the file with the text and keeps that text as the file's: a change made elsewhere
// between the rename and the look at the new file goes unseen until the file changes again.
bool ReplaceFile(const std::string& path, KnownText written) {
  std::string target = ResolvedTarget(path);
  std::string temporary;
  File file = CreateUniqueFile(target + ".", temporary);
  if (!file.IsOpen()) return false;
  file.TakePermissionsOf(target);
  bool replaced = file.WriteAll(written.text) && file.Sync();
  replaced = file.Close() && replaced;
  if (!replaced || !RenameReplacing(temporary, target)) {
    RemoveFile(temporary);
    return false;
  }
  std::optional<FileLook> look = LookAt(path);
  if (look) {
    written.look = *look;
    KnownTexts()[path] = std::move(written);
  } else {
    KnownTexts().erase(path);
  }
  return true;
}

// The document's text as a rewrite writes it, with its sections found.
KnownText CanonicalText(const Document& document) {
  KnownText canonical;
  canonical.text = Serialise(document);
  canonical.sections = IndexSections(canonical.text);
  canonical.canonical = true;
  canonical.lineEnd = document.lineEnd;
  return canonical;
}

}  // namespace

std::optional<std::string> IniFile::Read(const std::string& section, const std::string& key) const {
  const std::string sectionName = NameArgument(section);
  const std::string keyName = NameArgument(key);
  std::lock_guard guard(ProfileLock());
  std::optional<std::string> found;
  ForEachLineViewInSection(CurrentText(path_), sectionName, [&](const LineView& line) {
    if (!found && line.kind == LineKind::Key && EqualsIgnoreCase(line.name, keyName)) {
      found = std::string(WithoutQuotes(line.value));
    }
  });
  return found;
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
  const std::string sectionName = NameArgument(section);
  std::lock_guard guard(ProfileLock());
  std::vector<std::string> entries;
  ForEachLineViewInSection(CurrentText(path_), sectionName, [&](const LineView& line) {
    if (line.kind == LineKind::Key) entries.push_back(std::string(line.name) + "=" + std::string(line.value));
    if (line.kind == LineKind::Other) entries.emplace_back(line.name);
  });
  return entries;
}

namespace {

// Calls visit(line, start, next) for every line in the range of the text: its view, where it
// starts, and where the line after it starts.
template <typename Visit>
void ForEachLineInRange(const std::string& text, std::pair<size_t, size_t> range, Visit visit) {
  const std::string_view body = std::string_view(text).substr(range.first, range.second - range.first);
  ForEachRawLine(body, [&](std::string_view raw, std::string_view lineEnd) {
    const size_t start = range.first + static_cast<size_t>(raw.data() - body.data());
    visit(ViewLine(raw), start, start + raw.size() + lineEnd.size());
  });
}

// Puts `with` in place of `length` bytes at `at`, moving the section ranges behind it. A range
// that ends at `at` grows: text put there belongs to it.
void Splice(KnownText& known, size_t at, size_t length, const std::string& with) {
  known.text.replace(at, length, with);
  const auto delta = static_cast<ptrdiff_t>(with.size()) - static_cast<ptrdiff_t>(length);
  if (delta == 0) return;
  auto moved = [delta](size_t offset) { return static_cast<size_t>(static_cast<ptrdiff_t>(offset) + delta); };
  for (auto& [name, ranges] : known.sections) {
    for (auto& [begin, end] : ranges) {
      if (begin > at) begin = moved(begin);
      if (end >= at) end = moved(end);
    }
  }
}

// Where each line of the key lies in the section's ranges, in file order: its start and the start
// of the line after it.
ByteRanges KeyLines(const KnownText& known, const ByteRanges& ranges, const std::string& keyName) {
  ByteRanges lines;
  for (const auto& range : ranges) {
    ForEachLineInRange(known.text, range, [&](const LineView& line, size_t start, size_t next) {
      if (line.kind == LineKind::Key && EqualsIgnoreCase(line.name, keyName)) lines.emplace_back(start, next);
    });
  }
  return lines;
}

// Puts the key line in place of the key's first line in the section's ranges, or after the last
// non-blank line of the first of them. The ranges may be the text's own, which the splice moves:
// they are read before it.
void PutIntoSection(KnownText& known, const ByteRanges& ranges, const std::string& keyName,
                    const std::string& keyLine) {
  const ByteRanges existing = KeyLines(known, ranges, keyName);
  if (!existing.empty()) {
    Splice(known, existing.front().first, existing.front().second - existing.front().first, keyLine);
    return;
  }
  size_t at = ranges.front().first;
  ForEachLineInRange(known.text, ranges.front(), [&](const LineView& line, size_t, size_t next) {
    if (line.kind != LineKind::Blank) at = next;
  });
  Splice(known, at, 0, keyLine);
}

// Sets the key in canonical text as Write describes.
void SetKey(KnownText& known, const std::string& sectionName, const std::string& keyName, const std::string& value) {
  // The whole name is the key: "news=x" is never the key "news" of a line "news=Daily News", and a
  // name starting with ";" makes a comment line, which no key ever matches.
  const std::string keyLine = keyName + "=" + WithoutLineBreaks(value) + known.lineEnd;
  auto found = known.sections.find(ToLowerAscii(sectionName));
  if (found != known.sections.end()) {
    PutIntoSection(known, found->second, keyName, keyLine);
  } else {
    known.text += "[" + sectionName + "]" + known.lineEnd;
    const size_t begin = known.text.size();
    known.text += keyLine;
    known.sections[ToLowerAscii(sectionName)].emplace_back(begin, known.text.size());
  }
  // A key named "[..." makes a line that opens a section of its own.
  if (ViewLine(keyLine).kind == LineKind::Section) known.sections = IndexSections(known.text);
}

// Removes every line of the key in the section from canonical text; false when there was none.
bool RemoveKey(KnownText& known, const std::string& sectionName, const std::string& keyName) {
  auto found = known.sections.find(ToLowerAscii(sectionName));
  if (found == known.sections.end()) return false;
  const ByteRanges doomed = KeyLines(known, found->second, keyName);
  // From the last: the lines before keep their places.
  for (auto line = doomed.rbegin(); line != doomed.rend(); ++line)
    Splice(known, line->first, line->second - line->first, "");
  return !doomed.empty();
}

// Removes every occurrence of the named sections from canonical text: their headers and lines,
// but not the comments among them, which are the reader's notes. False when none was there.
bool RemoveSections(KnownText& known, const std::vector<std::string>& sectionNames) {
  const auto named = [&sectionNames](std::string_view name) {
    return std::any_of(sectionNames.begin(), sectionNames.end(),
                       [name](const std::string& doomed) { return EqualsIgnoreCase(name, doomed); });
  };
  if (std::none_of(known.sections.begin(), known.sections.end(), [&](const auto& entry) { return named(entry.first); }))
    return false;
  Document document = ParseDocument(known.text);
  Document kept{{}, known.lineEnd};
  bool inside = false;
  for (Line& line : document.lines) {
    if (line.kind == LineKind::Section) inside = named(line.name);
    if (!inside || line.kind == LineKind::Comment) kept.lines.push_back(std::move(line));
  }
  known = CanonicalText(kept);
  return true;
}

}  // namespace

bool IniFile::Write(const std::string& section, const std::string& key, const std::string& value) const {
  return Apply({{section, key, value}});
}

bool IniFile::DeleteKey(const std::string& section, const std::string& key) const {
  return Apply({{section, key, std::nullopt}});
}

bool IniFile::Apply(const std::vector<IniChange>& changes) const {
  return RewriteSections({}, changes);
}

bool IniFile::DeleteSection(const std::string& section) const {
  return RewriteSections({section}, {});
}

bool IniFile::RewriteSections(const std::vector<std::string>& sections, const std::vector<IniChange>& changes) const {
  std::vector<std::string> sectionNames;
  for (const std::string& section : sections) sectionNames.push_back(NameArgument(section));
  std::lock_guard guard(ProfileLock());
  const KnownText& current = CurrentText(path_);
  // A file last changed elsewhere is brought into the form a rewrite gives it first.
  KnownText edited = current.canonical ? current : CanonicalText(ParseDocument(current.text));
  bool changed = RemoveSections(edited, sectionNames);
  for (const IniChange& change : changes) {
    const std::string sectionName = NameArgument(change.section);
    const std::string keyName = NameArgument(change.key);
    if (change.value) {
      SetKey(edited, sectionName, keyName, *change.value);
      changed = true;
    } else {
      changed = RemoveKey(edited, sectionName, keyName) || changed;
    }
  }
  return !changed || ReplaceFile(path_, std::move(edited));
}

}  // namespace tarnwick::platform
