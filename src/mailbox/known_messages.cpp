#include "mailbox/known_messages.h"

#include "platform/file.h"
#include "platform/file_io.h"
#include "platform/file_system.h"

#include <charconv>
#include <string_view>
#include <vector>

namespace tarnwick::mailbox {
namespace {

constexpr std::string_view kFirstLine = "Tarnwick known messages 2";
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

// Identifiers first, sorted, one a line; then the links, one "identifier TAB link" line each (an
// empty identifier for a message without one).
std::optional<std::string> Compose(const std::string& newsboxPath, const KnownMessages& known) {
  if (!Keepable(newsboxPath)) return std::nullopt;
  const std::vector<std::string_view> ids = known.ids.Sorted();
  std::string text;
  text.reserve(ids.size() * 48 + known.unreadLinks.size());
  text.append(kFirstLine).append("\n").append(newsboxPath).append("\n");
  AppendStamp(text, known.stamp.mailbox);
  AppendStamp(text, known.stamp.toc);
  text.append(known.linksRead ? kLinksRead : kLinksNotRead).append("\n");
  text.append(std::to_string(ids.size())).append("\n");
  for (std::string_view id : ids) {
    if (id.find_first_of("\r\n\t") != std::string_view::npos) return std::nullopt;
    text.append(id).append("\n");
  }
  text.append(std::to_string(known.unreadLinkCount + known.linksById.size() + known.linksWithoutId.size()));
  text.append("\n").append(known.unreadLinks);
  for (const auto& [id, link] : known.linksById) {
    if (!Keepable(link)) return std::nullopt;
    text.append(id).append("\t").append(link).append("\n");
  }
  for (const std::string& link : known.linksWithoutId) {
    if (!Keepable(link)) return std::nullopt;
    text.append("\t").append(link).append("\n");
  }
  text.append(kLastLine).append("\n");
  return text;
}

// Takes `count` lines off `text` as one block (line feeds kept); false when there are fewer. With
// `tabbed`, every line must hold a tab.
bool TakeLines(std::string_view& text, int64_t count, bool tabbed, std::string_view& block) {
  size_t end = 0;
  for (int64_t i = 0; i < count; ++i) {
    const size_t lineEnd = text.find('\n', end);
    if (lineEnd == std::string_view::npos) return false;
    if (tabbed && text.substr(end, lineEnd - end).find('\t') == std::string_view::npos) return false;
    end = lineEnd + 1;
  }
  block = text.substr(0, end);
  text.remove_prefix(end);
  return true;
}

bool ReadCount(std::string_view& text, int64_t& count) {
  std::string_view line;
  std::vector<int64_t> numbers;
  if (!TakeLine(text, line) || !ReadNumbers(line, numbers) || numbers.size() != 1 || numbers[0] < 0) return false;
  count = numbers[0];
  return true;
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
  int64_t count = 0;
  std::string_view block;
  if (!ReadCount(text, count) || !TakeLines(text, count, false, block)) return std::nullopt;
  std::optional<feed::KnownIds> ids = feed::KnownIds::FromSortedLines(std::string(block));
  if (!ids) return std::nullopt;
  known.ids = std::move(*ids);
  if (!ReadCount(text, count) || !TakeLines(text, count, true, block)) return std::nullopt;
  known.unreadLinks = block;
  known.unreadLinkCount = static_cast<size_t>(count);
  if (!TakeLine(text, line) || line != kLastLine || !text.empty()) return std::nullopt;
  return known;
}

}  // namespace

void KnownMessages::ReadLinks() {
  std::string_view lines = unreadLinks;
  std::string_view line;
  while (TakeLine(lines, line)) {
    const size_t tab = line.find('\t');
    std::string link(line.substr(tab + 1));
    if (tab == 0) {
      linksWithoutId.push_back(std::move(link));
    } else {
      linksById.insert_or_assign(std::string(line.substr(0, tab)), std::move(link));
    }
  }
  unreadLinks.clear();
  unreadLinkCount = 0;
}

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
