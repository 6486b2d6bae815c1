#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick::host {

/// A MIME type as a message's Content-Type line names it.
struct MimeTypeText {
  std::string type;
  std::string subtype;
  std::vector<std::pair<std::string, std::string>> parameters;  ///< name and value, quotes taken off
};

/// The MIME type of a header block's Content-Type line, with type and subtype as written (only
/// blanks trimmed): translators compare them exactly. text/plain when there is no such line or it
/// names no subtype.
MimeTypeText MimeTypeOfHeaders(std::string_view headerBlock);

/// What the host hands a translator of one stored message.
struct TranslatorInput {
  std::string fileText;    ///< the input file: the header block, its empty line, the body unescaped
  std::string rawHeaders;  ///< the header lines, without the empty line that ends them
  std::string to, from, subject, cc, bcc;
  MimeTypeText mimeType;
};

/// The translator's view of a message as it lies in a mailbox file (separator line first).
TranslatorInput TranslatorInputOf(std::string_view stored);

/// The message a translator's output makes of `stored`: its separator line (a new one when it had
/// none), then the output's header block and body, the body escaped, CR LF line ends, a final line
/// end. Empty when the output is empty, so a translator that wrote nothing cannot wipe a message.
std::string MessageFromTranslation(std::string_view stored, std::string_view output);

}  // namespace tarnwick::host
