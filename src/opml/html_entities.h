#pragma once

#include <string>
#include <string_view>

namespace tarnwick::opml {

/// The text with its HTML character references decoded: numeric ones (&#233; &#xE9;) and the named
/// ones of Latin-1 and common punctuation (&eacute; &nbsp; &hellip; &rsquo; ...), written as UTF-8.
/// A reference it does not know, or one without its ";", stays as written.
std::string DecodeHtmlEntities(std::string_view text);

}  // namespace tarnwick::opml
