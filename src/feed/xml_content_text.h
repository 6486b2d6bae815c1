#pragma once

#include <string>
#include <string_view>

namespace tarnwick::feed {

/// The text of an element's content (the bytes between its start and end tags): without markup,
/// the content decoded; otherwise the decoded text runs and the raw inner parts of CDATA sections
/// joined in order, while whitespace between markup, comments, processing instructions and any
/// other markup add nothing. A text run keeps the whitespace before its first other character.
std::string ContentText(std::string_view content);

}  // namespace tarnwick::feed
