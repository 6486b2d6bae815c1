#include "core/outgoing_message.h"

#include "core/mbox_format.h"
#include "platform/local_time.h"

namespace tarnwick::host {
namespace {

constexpr char kCrLf[] = "\r\n";

void AddHeader(std::string& message, const char* name, const std::string& value, bool always) {
  if (value.empty() && !always) return;
  message += name;
  message += OneLine(value);
  message += kCrLf;
}

std::string MailDate(std::time_t now) {
  std::tm local{};
  platform::LocalTimeParts(now, local);
  char buffer[64];
  std::strftime(buffer, sizeof buffer, "%a, %d %b %Y %H:%M:%S ", &local);
  return buffer + platform::UtcOffsetText(now);
}

}  // namespace

std::string ComposeOutgoingMessage(const OutgoingMessage& message, std::time_t now) {
  std::string text = SeparatorLine(now) + kCrLf;
  AddHeader(text, "To: ", message.to, true);
  AddHeader(text, "Subject: ", message.subject, true);
  AddHeader(text, "Cc: ", message.cc, false);
  AddHeader(text, "Bcc: ", message.bcc, false);
  AddHeader(text, "X-Attachments: ", message.attachmentPath, false);
  AddHeader(text, "Date: ", MailDate(now), true);
  text += kCrLf;
  text += EscapeBody(WithCrLfLineEnds(message.body));
  if (text.back() != '\n') text += kCrLf;
  return text;
}

}  // namespace tarnwick::host
