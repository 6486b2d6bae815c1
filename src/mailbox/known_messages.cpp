#include "mailbox/known_messages.h"

#include "platform/file.h"
#include "platform/file_io.h"
#include "platform/file_system.h"

#include <charconv>
#include <string_view>
#include <vector>

namespace tarnwick::mailbox {
namespace {

constexpr std::string_view kFirstLine = "Tarnwick known messages 1";
constexpr std::string_view kLastLine = "end";
constexpr std::string_view kLinksRead = "links";
constexpr std::string_view kLinksNotRead = "no links";

void AppendNumber(std::string& text, int64_t number) {
  text += std::to_string(number);
  text += ' ';
}

void AppendStamp(std::string& text, const FileStamp& stamp) {
  AppendNumber(text, stamp.exists ? 1 : 0);
  AppendNumber(text, static_cast<int64_t>(stamp.size));
  AppendNumber(text, stamp.modifiedSeconds);
  AppendNumber(text, stamp.modifiedNanoseconds);
  AppendNumber(text, stamp.changedNanoseconds);
  AppendNumber(text, static_cast<int64_t>(stamp.volume));
  AppendNumber(text, static_cast<int64_t>(stamp.identity));
  text.back() = '\n';
}

// Takes the next whole line (without its line feed) off `text`; false when no line feed is left.
bool TakeLine(std::string_view& text, std::string_view& line) {
  const size_t end = text.find('\n');
  if (end == std::string_view::npos) return false;
  line = text.substr(0, end);
  text.remove_prefix(end + 1);
  return true;
}

bool ReadNumbers(std::string_view line, std::vector<int64_t>& numbers) {
  numbers.clear();
  while (!line.empty()) {
    int64_t number = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), number);
    if (error != std::errc()) return false;
    numbers.push_back(number);
    line.remove_prefix(static_cast<size_t>(end - line.data()));
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  }
  return true;
}

bool ReadStamp(std::string_view line, FileStamp& stamp) {
  std::vector<int64_t> numbers;
  if (!ReadNumbers(line, numbers) || numbers.size() != 7 || (numbers[0] != 0 && numbers[0] != 1)) return false;
  stamp = {numbers[0] == 1,
           static_cast<uint64_t>(numbers[1]),
           numbers[2],
           numbers[3],
           numbers[4],
           static_cast<uint64_t>(numbers[5]),
           static_cast<uint64_t>(numbers[6])};
  return true;
}

bool Keepable(const std::string& text) {
  return text.find_first_of("\r\n") == std::string::npos;
}

std::optional<std::string> Compose(const std::string& newsboxPath, const KnownMessages& known) {
  if (!Keepable(newsboxPath)) return std::nullopt;
  std::string text;
  text.reserve(known.ids.size() * 64);
  text.append(kFirstLine).append("\n").append(newsboxPath).append("\n");
  AppendStamp(text, known.stamp.mailbox);
  AppendStamp(text, known.stamp.toc);
  text.append(known.linksRead ? kLinksRead : kLinksNotRead).append("\n");
  text.append(std::to_string(known.ids.size())).append("\n");
  for (const std::string& id : known.ids) {
    if (!Keepable(id) || id.find('\t') != std::string::npos) return std::nullopt;
    text += id;
    text += '\t';
    auto link = known.linksById.find(id);
    if (link != known.linksById.end()) {
      if (!Keepable(link->second)) return std::nullopt;
      text += link->second;
    }
    text += '\n';
  }
  for (const std::string& link : known.linksWithoutId) {
    if (!Keepable(link)) return std::nullopt;
    text.append("\t").append(link).append("\n");
  }
  text.append(kLastLine).append("\n");
  return text;
}

std::optional<KnownMessages> Parse(std::string_view text, const std::string& newsboxPath) {
  KnownMessages known;
  std::string_view line;
  if (!TakeLine(text, line) || line != kFirstLine) return std::nullopt;
  if (!TakeLine(text, line) || line != newsboxPath) return std::nullopt;
  if (!TakeLine(text, line) || !ReadStamp(line, known.stamp.mailbox)) return std::nullopt;
  if (!TakeLine(text, line) || !ReadStamp(line, known.stamp.toc)) return std::nullopt;
  if (!TakeLine(text, line) || (line != kLinksRead && line != kLinksNotRead)) return std::nullopt;
  known.linksRead = line == kLinksRead;
  std::vector<int64_t> count;
  if (!TakeLine(text, line) || !ReadNumbers(line, count) || count.size() != 1 || count[0] < 0) return std::nullopt;
  known.ids.reserve(static_cast<size_t>(count[0]));
  for (int64_t i = 0; i < count[0]; ++i) {
    const size_t tab = text.find('\t');
    if (!TakeLine(text, line) || tab == std::string_view::npos || tab > line.size()) return std::nullopt;
    std::string id(line.substr(0, tab));
    if (!id.empty() && tab + 1 < line.size()) known.linksById.emplace(id, line.substr(tab + 1));
    if (!known.ids.insert(std::move(id)).second) return std::nullopt;
  }
  // Then the links of messages without an identifier, each as a line that starts with a tab.
  while (TakeLine(text, line) && line.starts_with('\t')) known.linksWithoutId.emplace_back(line.substr(1));
  if (line != kLastLine || !text.empty()) return std::nullopt;
  return known;
}

}  // namespace

std::optional<KnownMessages> ReadKnownMessagesFile(const std::string& path, const std::string& newsboxPath) {
  std::string bytes;
  if (!platform::ReadFileIfPresent(path, bytes)) return std::nullopt;
  return Parse(bytes, newsboxPath);
}

bool WriteKnownMessagesFile(const std::string& path, const std::string& newsboxPath, const KnownMessages& known) {
  const std::optional<std::string> text = Compose(newsboxPath, known);
  std::string temporary;
  bool written = false;
  if (text) {
    platform::File file = platform::CreateUniqueFile(path + ".", temporary);
    written = file.IsOpen() && file.WriteAll(*text);
    written = file.Close() && written;
    written = written && platform::RenameReplacing(temporary, path);
  }
  if (!written) {
    // An older file describes the newsbox as it was: reading it would only cost the next check.
    if (!temporary.empty()) (void)platform::RemoveFile(temporary);
    (void)platform::RemoveFile(path);
  }
  return written;
}

}  // namespace tarnwick::mailbox
