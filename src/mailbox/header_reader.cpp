#include "mailbox/header_reader.h"

#include "platform/text.h"

#include <string_view>

namespace tarnwick::mailbox {

int SplitText(const std::string& text, const std::string& separator, std::vector<std::string>& list) {
  if (separator.empty()) return 0;
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type found = text.find(separator, start);
    if (found == std::string::npos) break;
    list.push_back(text.substr(start, found - start));
    start = found + separator.size();
  }
  list.push_back(text.substr(start));
  return static_cast<int>(list.size());
}

std::string ReadHeaderField(const std::string& headerText, const std::string& name) {
  std::vector<std::string> lines;
  SplitText(headerText, "\r\n", lines);
  std::string value;
  bool expecting = false;  // the line right after a matching or appended line
  for (const std::string& line : lines) {
    std::string_view head = std::string_view(line).substr(0, name.size());
    if (line.size() >= name.size() && platform::EqualsIgnoreCase(head, name)) {
      value += line.substr(name.size());
      expecting = true;
    } else if (expecting) {
      if (line.find(':') != std::string::npos) break;
      if (line.size() > name.size()) value += line.substr(name.size());
      expecting = true;
    }
  }
  return value;
}

}  // namespace tarnwick::mailbox
