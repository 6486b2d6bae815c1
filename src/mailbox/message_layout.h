#pragma once

#include "feed/article.h"
#include "platform/clock.h"

#include <string>
#include <string_view>

namespace tarnwick::mailbox {

/// The separator line that starts every message in a mailbox file, without its CR LF:
/// "From ???@??? Tue Jun 3 04:05:09 2003" for the time `timeText` names (read by the date
/// parser), or for the clock's time when it names none.
std::string MessageSeparator(std::string_view timeText, const platform::Clock& clock);

/// The header that carries an article's link; the newsbox writer reads it back to know which
/// pages the newsbox holds.
inline constexpr char kWebsiteHeader[] = "Website: ";

/// What a message carries beside its article: the identifier, the time of the check, the
/// program's version text ("Version: 1.0") and the feed's name.
struct MessageContext {
  std::string messageId;
  std::string downloadText;
  std::string versionText;
  std::string feedName;
};

/// The full-article block that follows an article's body when its web page was fetched.
std::string FullArticleBlock(std::string_view pageText);

/// The whole message as it is appended to a mailbox file: `separatorLine` (with its CR LF), the
/// header lines (the Website header's link without its tracking parameters), an empty line and "<x-html>" + body + "</x-html>" + CR LF. Header values have
/// every CR and LF turned into a blank, so no feed text can end the header block early or add a
/// header of its own; body lines that start with "From " after any number of ">" get one more
/// ">", so no body line can pass for the separator of another message (the host takes it off
/// again when it reads the message).
std::string ComposeMessage(const feed::Article& article, const MessageContext& context,
                           std::string_view separatorLine);

/// The body as stored in a mailbox file: one more ">" before every line that starts with "From "
/// after any number of ">".
std::string EscapeFromLines(std::string_view body);

}  // namespace tarnwick::mailbox
