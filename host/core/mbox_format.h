#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace tarnwick::host {

/// Every message of a mailbox file starts with a line that begins with this text.
inline constexpr std::string_view kSeparatorPrefix = "From ???@??? ";

/// True when the line (with or without its line end) is a message separator line.
bool IsSeparatorLine(std::string_view line);

/// The separator line for a local time, without its line end: "From ???@??? Tue Jun 3 04:05:09 2003".
std::string SeparatorLine(std::time_t when);

/// The body with one more ">" before every line that begins with "From " or with ">"s and "From ",
/// so that no body line can pass for a separator to any mbox reader. Line ends are kept.
std::string EscapeBody(std::string_view body);

/// The reverse of EscapeBody: one ">" taken off every line that begins with ">"s and "From ".
std::string UnescapeBody(std::string_view body);

/// The text with every line feed that has no carriage return before it turned into CR LF.
std::string WithCrLfLineEnds(std::string_view text);

/// A stored message split into its parts. The header block ends with its empty line (CR LF CR LF,
/// or LF LF in a file with bare line feeds); a message without an empty line is all header.
struct StoredMessageParts {
  std::string_view separatorLine;  ///< the separator line with its line end; empty when missing
  std::string_view headerBlock;    ///< the header lines and the empty line that ends them
  std::string_view body;           ///< everything after the header block, still escaped
};

/// Splits a message as it lies in the mailbox file. The views point into `stored`.
StoredMessageParts SplitStoredMessage(std::string_view stored);

/// The body as a reader sees it: unescaped, without the line end that closes the message, and
/// without the "<x-html>" and "</x-html>" markers that tell the store an HTML body lies between them.
std::string ReadableBody(std::string_view escapedBody);

/// The value of the first header line named `name` (without colon, any letter case) in a header
/// block: the text after the colon with leading blanks dropped, continuation lines (those that
/// start with a blank or a tab) joined on, and trailing white space dropped. Empty when absent.
std::string HeaderValue(std::string_view headerBlock, std::string_view name);

/// The text with CR, LF and tabs replaced by blanks, so that it fits on one line of a listing or a header.
std::string OneLine(std::string_view text);

}  // namespace tarnwick::host
