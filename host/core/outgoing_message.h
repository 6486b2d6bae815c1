#pragma once

#include <ctime>
#include <string>

namespace tarnwick::host {

/// A new message that a plug-in asks the host to prepare for sending.
struct OutgoingMessage {
  std::string to;
  std::string subject;
  std::string cc;
  std::string bcc;
  std::string attachmentPath;  ///< a file the message refers to; empty for none
  std::string body;
};

/// The message as the host stores it in Out: separator line, To, Subject, Cc and Bcc when given,
/// X-Attachments when given, Date; an empty line; the body with CR LF line ends and escaped From
/// lines; a final CR LF. Header values are kept on one line (line breaks become blanks).
std::string ComposeOutgoingMessage(const OutgoingMessage& message, std::time_t now);

}  // namespace tarnwick::host
