#include "feed/article.h"

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

std::string MessageIdOf(const Article& article) {
  if (!article.guid.empty()) return MessageIdFor(article.guid);
  if (!article.link.empty()) return MessageIdFor(article.link);
  return {};
}

}  // namespace tarnwick::feed
