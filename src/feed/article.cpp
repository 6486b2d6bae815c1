#include "feed/article.h"

#include "feed/sha1.h"

namespace tarnwick::feed {

std::string MessageIdFor(std::string_view key) {
  std::string id;
  id.reserve(key.size() + sizeof(kMessageIdHostName) + 2);
  id.push_back('<');
  for (char c : key) id.push_back(c == '\r' || c == '\n' ? ' ' : c);
  id.push_back('@');
  id.append(kMessageIdHostName);
  id.push_back('>');
  return id;
}

namespace {

// Each part with its length in front, so that no two different items give the same text.
void AppendPart(std::string& text, std::string_view part) {
  text += std::to_string(part.size());
  text += ':';
  text += part;
}

}  // namespace

std::string MessageIdOf(const Article& article, std::string_view feedUrl) {
  if (!article.guid.empty()) return MessageIdFor(article.guid);
  if (!article.link.empty()) return MessageIdFor(article.link);
  if (article.title.empty() && article.body.empty()) return {};
  std::string content;
  AppendPart(content, feedUrl);
  AppendPart(content, article.title);
  AppendPart(content, article.body);
  return MessageIdFor(Sha1Hex(content));
}

}  // namespace tarnwick::feed
