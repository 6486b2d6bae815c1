#pragma once

// What must hold for the readers of the host's tables of contents and of message headers, for any
// bytes. Shared by the fuzz target and by the unit test that replays the saved corpus.
//
// One input serves both: its bytes are written as a table of contents, and read as a header text
// with field names and a separator taken from its own start.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ini_check_helpers.h"
#include "mailbox/header_reader.h"
#include "mailbox/toc_reader.h"
#include "platform/text.h"

namespace tarnwick::fuzz {

/// Empty when both counts agree with what the table's bytes hold; otherwise what went wrong.
inline std::string CheckTocBytes(std::string_view bytes, const std::string& path) {
  if (!WriteWholeFile(path, bytes)) return "cannot write " + path;
  const int count = mailbox::TocMessageCount(path);
  const int unread = mailbox::TocUnreadCount(path);
  constexpr size_t kHeader = 104;
  constexpr size_t kEntry = 218;
  if (bytes.size() < kHeader) {
    return count == -1 && unread == -1 ? std::string() : "a table shorter than its header gave a count";
  }
  const size_t declared = static_cast<unsigned char>(bytes[102]) + 256u * static_cast<unsigned char>(bytes[103]);
  const size_t whole = (bytes.size() - kHeader) / kEntry;
  if (count < 0 || unread < 0) return "a readable table gave -1";
  if (static_cast<size_t>(count) != std::min(declared, whole)) {
    return "count " + std::to_string(count) + " is not the declared " + std::to_string(declared) + " cut to " +
           std::to_string(whole) + " whole entries";
  }
  int expectedUnread = 0;
  for (int i = 0; i < count; ++i) {
    size_t at = kHeader + static_cast<size_t>(i) * kEntry + 12;
    if (bytes[at] == 0 && bytes[at + 1] == 0) ++expectedUnread;
  }
  if (unread != expectedUnread) {
    return "unread " + std::to_string(unread) + " of " + std::to_string(count) + ", expected " +
           std::to_string(expectedUnread);
  }
  return {};
}

/// Empty when splitting the text at the separator is sound: the pieces join to the text again,
/// none holds the separator, and the count returned is the list's size.
inline std::string CheckSplit(const std::string& text, const std::string& separator) {
  std::vector<std::string> list{"before"};
  const int returned = mailbox::SplitText(text, separator, list);
  if (separator.empty()) return returned == 0 && list.size() == 1 ? std::string() : "an empty separator split";
  if (returned != static_cast<int>(list.size()) || list.front() != "before") return "SplitText miscounted its list";
  std::string joined;
  for (size_t i = 1; i < list.size(); ++i) {
    if (list[i].find(separator) != std::string::npos) return "a piece holds the separator";
    joined += (i > 1 ? separator : std::string()) + list[i];
  }
  return joined == text ? std::string() : "the pieces do not join to the text";
}

/// Empty when the field read is made only of what the text's matching and following lines hold.
inline std::string CheckHeaderField(const std::string& text, const std::string& name) {
  const std::string value = mailbox::ReadHeaderField(text, name);
  std::vector<std::string> lines;
  mailbox::SplitText(text, "\r\n", lines);
  const auto matching = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.size() >= name.size() &&
           platform::EqualsIgnoreCase(std::string_view(line).substr(0, name.size()), name);
  });
  if (matching == lines.end()) return value.empty() ? std::string() : "a field no line names has a value";
  if (value.size() > text.size()) return "the field is longer than the header";
  const std::string first = matching->substr(name.size());
  return value.compare(0, first.size(), first) == 0 ? std::string()
                                                    : "the field does not start with its first line's value";
}

/// The whole check of one input.
inline std::string CheckTocReaderInput(std::string_view data, const std::string& tocPath) {
  std::string problem = CheckTocBytes(data, tocPath);
  if (!problem.empty()) return problem;
  const std::string text(data);
  // A separator of one to three bytes from the input's start, and the usual ones.
  const std::string_view own =
      data.size() < 2 ? std::string_view() : data.substr(1, 1 + static_cast<unsigned char>(data[0]) % 3);
  for (const std::string& separator : {std::string(own), std::string("\r\n"), std::string(":"), std::string()}) {
    if (!(problem = CheckSplit(text, separator)).empty()) return problem;
  }
  // The field names: the fixed one of the program, and the input's first line up to its colon.
  std::string ownName = text.substr(0, std::min(text.find(':'), text.find('\r')));
  ownName = ownName.substr(0, 32) + ": ";
  for (const std::string& name : {std::string("Feed: "), std::string("Subject: "), ownName, std::string()}) {
    if (!(problem = CheckHeaderField(text, name)).empty()) return "field \"" + name + "\": " + problem;
  }
  return {};
}

}  // namespace tarnwick::fuzz
