#include "feed/xml_content_text.h"

#include "feed/xml_node_scanner.h"
#include "feed/xml_references.h"

namespace tarnwick::feed {
namespace {

// "<![CDATA[" and "]]>", cut off a CDATA section to give its inner part.
constexpr size_t kCdataOpening = 9;
constexpr size_t kCdataClosing = 3;

}  // namespace

std::string ContentText(std::string_view content) {
  if (content.find('<') == std::string_view::npos) return UnescapeText(content);
  std::string text;
  NodeScanner scanner(content);
  NodeToken token;
  for (scanner.Next(token); token.type != NodeType::kEndOfDocument; scanner.Next(token)) {
    std::string_view node = content.substr(token.start, token.length);
    if (token.type == NodeType::kText) {
      AppendUnescaped(text, node);
    } else if (token.type == NodeType::kCdata && node.size() >= kCdataOpening + kCdataClosing) {
      text.append(node.substr(kCdataOpening, node.size() - kCdataOpening - kCdataClosing));
    }
  }
  return text;
}

}  // namespace tarnwick::feed
