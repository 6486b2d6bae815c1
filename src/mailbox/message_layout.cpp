#include "mailbox/message_layout.h"

#include "feed/link_key.h"

#include "platform/date_format.h"
#include "platform/date_parser.h"

namespace tarnwick::mailbox {
namespace {

constexpr char kLineEnd[] = "\r\n";

// A header value with line breaks turned into blanks.
std::string OneLine(std::string_view value) {
  std::string line(value);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

void AddHeader(std::string& message, std::string_view name, std::string_view value) {
  message.append(name);
  message.append(OneLine(value));
  message.append(kLineEnd);
}

void AddOptionalHeader(std::string& message, std::string_view name, std::string_view value) {
  if (!value.empty()) AddHeader(message, name, value);
}

// True when the line (from `start` on) is ">"* "From ".
bool IsFromLine(std::string_view text, size_t start) {
  size_t at = text.find_first_not_of('>', start);
  return at != std::string_view::npos && text.substr(at, 5) == "From ";
}

}  // namespace

std::string MessageSeparator(std::string_view timeText, const platform::Clock& clock) {
  platform::DateTime time = platform::ParseDate(timeText).value_or(clock.Now());
  std::string hour = platform::FormatDate(time, "%H:%M:%S");
  return "From ???@??? " + platform::FormatDate(time, "%a %b ") + std::to_string(time.Day()) + " " + hour + " " +
         std::to_string(time.Year());
}

std::string FullArticleBlock(std::string_view pageText) {
  std::string block = "\r\n<br><p align=\"center\">--- Begin Full Article ---</p>\r\n<br>";
  block.append(pageText);
  block.append("\r\n<br><p align=\"center\">---- End Full Article ----</p>\r\n<br>");
  return block;
}

std::string EscapeFromLines(std::string_view body) {
  std::string escaped;
  escaped.reserve(body.size());
  size_t start = 0;
  while (start <= body.size()) {
    size_t end = body.find('\n', start);
    if (IsFromLine(body, start)) escaped += '>';
    if (end == std::string_view::npos) {
      escaped.append(body.substr(start));
      break;
    }
    escaped.append(body.substr(start, end + 1 - start));
    start = end + 1;
  }
  return escaped;
}

std::string ComposeMessage(const feed::Article& article, const MessageContext& context,
                           std::string_view separatorLine) {
  std::string message(separatorLine);
  AddHeader(message, "Subject: ", article.title);
  AddHeader(message, "From: ", article.author);
  AddHeader(message, "Date: ", article.date);
  AddOptionalHeader(message, kWebsiteHeader, feed::StripTrackingParameters(article.link));
  AddHeader(message, "Message-Id: ", context.messageId);
  AddHeader(message, "Downloaded: ", context.downloadText);
  AddOptionalHeader(message, "Enclosed: ", article.enclosureUrl);
  AddOptionalHeader(message, "Category: ", article.category);
  AddOptionalHeader(message, "Website-Comments: ", article.comments);
  AddOptionalHeader(message, "Source: ", article.source);
  message.append("Tarnwick-Plugin-" + OneLine(context.versionText) + kLineEnd);
  AddHeader(message, "Feed: ", context.feedName);
  message.append(
      "MIME-Version: 1.0\r\nContent-Type: text/html; charset=utf-8\r\nContent-Transfer-Encoding: 8bit\r\n\r\n");
  message.append(EscapeFromLines("<x-html>" + article.body + "</x-html>"));
  message.append(kLineEnd);
  return message;
}

}  // namespace tarnwick::mailbox
