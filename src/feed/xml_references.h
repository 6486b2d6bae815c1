#pragma once

#include <string>
#include <string_view>

namespace tarnwick::feed {

/// Decodes the references in a text: the five named entities (&lt; &amp; &gt; &apos; &quot;) and
/// numeric references (&#233; or &#xE9;, whose ";" must come within 7 places of the first digit),
/// which are written as UTF-8 whatever the document's encoding. Anything else, including a
/// reference of value 0, a negative one or one beyond U+10FFFF, is copied unchanged. The result
/// is never longer than the input.
std::string UnescapeText(std::string_view text);

/// Appends the decoded form of `text` (as UnescapeText) to `out`.
void AppendUnescaped(std::string& out, std::string_view text);

}  // namespace tarnwick::feed
