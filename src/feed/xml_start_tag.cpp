#include "feed/xml_start_tag.h"

#include "feed/xml_references.h"

namespace tarnwick::feed {
namespace {

bool IsWhitespace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool EndsNameRun(char c) {
  return IsWhitespace(c) || c == '=' || c == '>' || c == '/' || c == '?';
}

bool EndsValueRun(char c) {
  return IsWhitespace(c) || c == '>';
}

struct Token {
  std::string_view text;
  bool quoted = false;
  bool single = false;  // a lone character where a run would have been empty

  bool Is(char c) const { return single && text[0] == c; }
};

// Reads the tokens of a start tag between its "<" and its closing ">", so a token never reaches
// past the tag, even when a quote is left open.
class TagTokens {
public:
  explicit TagTokens(std::string_view inner) : inner_(inner) {}

  bool Next(Token& token, bool value) {
    while (at_ < inner_.size() && IsWhitespace(inner_[at_])) ++at_;
    if (at_ >= inner_.size()) return false;
    char c = inner_[at_];
    token = Token{};
    if (c == '"' || c == '\'') {
      size_t close = inner_.find(c, at_ + 1);
      if (close == std::string_view::npos) close = inner_.size();
      token.text = inner_.substr(at_ + 1, close - at_ - 1);
      token.quoted = true;
      at_ = close < inner_.size() ? close + 1 : close;
      return true;
    }
    size_t end = at_;
    while (end < inner_.size() && !(value ? EndsValueRun(inner_[end]) : EndsNameRun(inner_[end]))) ++end;
    if (end == at_) {
      token.single = true;
      end = at_ + 1;
    }
    token.text = inner_.substr(at_, end - at_);
    at_ = end;
    return true;
  }

private:
  std::string_view inner_;
  size_t at_ = 0;
};

}  // namespace

std::string_view NameKey(std::string_view argument) {
  return argument.substr(0, argument.find_first_of(" =/[]"));
}

std::string_view StartTagName(std::string_view startTag) {
  size_t at = 1;
  while (at < startTag.size() && IsWhitespace(startTag[at])) ++at;
  size_t end = at;
  while (end < startTag.size() && !IsWhitespace(startTag[end]) &&
         std::string_view("<>=\\/?!").find(startTag[end]) == std::string_view::npos) {
    ++end;
  }
  return at < startTag.size() ? startTag.substr(at, end - at) : std::string_view();
}

std::string StartTagAttribute(std::string_view startTag, std::string_view name) {
  if (startTag.size() < 2) return {};
  std::string_view key = NameKey(name);
  TagTokens tokens(startTag.substr(1, startTag.size() - 2));
  Token token;
  if (!tokens.Next(token, false)) return {};  // the tag name
  std::string_view found;
  bool isFound = false;
  bool expectValue = false;
  while (tokens.Next(token, expectValue)) {
    if (expectValue) {
      expectValue = false;
      if (isFound) return UnescapeText(token.text);
      continue;  // the value of another attribute
    }
    if (token.Is('=')) {
      expectValue = true;
      continue;
    }
    // Where a name is expected, "/", ">", "?" end the tag; a name or a stray quoted run after the
    // found attribute means it was written without "=".
    if (token.Is('/') || token.Is('>') || token.Is('?') || isFound) break;
    if (!token.quoted && token.text == key) {
      found = token.text;
      isFound = true;
    }
  }
  // A found attribute whose "=" ends the tag has an empty value.
  return isFound && !expectValue ? std::string(found) : std::string();
}

}  // namespace tarnwick::feed
