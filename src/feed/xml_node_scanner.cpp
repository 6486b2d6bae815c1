#include "feed/xml_node_scanner.h"

#include "feed/xml_messages.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tarnwick::feed {
namespace {

constexpr size_t kNone = std::string_view::npos;

bool IsWhitespace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Upper-case letters, "_", ":" and every byte from "a" upward, high-bit bytes included, so that
// names in any single-byte or multi-byte encoding start a tag.
bool IsNameStart(unsigned char c) {
  return (c >= 0x41 && c <= 0x5A) || c == '_' || c == ':' || c >= 0x61;
}

// Byte classes for the hot loops, looked up in one table instead of compared one by one.
constexpr uint8_t kNameStop = 1;  // whitespace, "/", ">": the end of a tag name
constexpr uint8_t kQuote = 2;     // a double or single quote
constexpr uint8_t kTagEnd = 4;    // ">"
constexpr std::array<uint8_t, 256> kClasses = [] {
  std::array<uint8_t, 256> classes{};
  for (unsigned char c : {' ', '\t', '\n', '\r', '/'}) classes[c] = kNameStop;
  classes['>'] = kNameStop | kTagEnd;
  classes['"'] = classes['\''] = kQuote;
  return classes;
}();

uint8_t ClassOf(char c) {
  return kClasses[static_cast<unsigned char>(c)];
}

bool IsNameStop(char c) {
  return (ClassOf(c) & kNameStop) != 0;
}

// The first ">" at or after `from` that is not inside a quoted run; a double quote opens or
// closes a run unless a single-quoted one is open, and the other way round.
size_t QuotedTagEnd(std::string_view text, size_t from) {
  char quote = 0;
  for (size_t at = from; at < text.size(); ++at) {
    char c = text[at];
    if ((ClassOf(c) & (kQuote | kTagEnd)) == 0) continue;
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '>') {
      return at;
    } else {
      quote = c;
    }
  }
  return kNone;
}

// The ">" of a node that closes with `end` ("?>", "-->", "]]>"): the first ">" at or after `from`
// that the rest of `end` precedes. The end is only tested where its ">" lies at an offset greater
// than the end's length, so the comparison never reaches before the text.
size_t TerminatorEnd(std::string_view text, size_t from, std::string_view end) {
  size_t length = end.size();
  size_t at = from >= length - 1 ? from - (length - 1) : 0;
  if (at < 2) at = 2;
  while (at < text.size()) {
    const void* found = std::memchr(text.data() + at, end[0], text.size() - at);
    if (found == nullptr) return kNone;
    at = static_cast<size_t>(static_cast<const char*>(found) - text.data());
    if (text.compare(at, length, end) == 0) return at + length - 1;
    ++at;
  }
  return kNone;
}

size_t FindByte(std::string_view text, size_t from, char byte) {
  if (from >= text.size()) return kNone;
  const void* found = std::memchr(text.data() + from, byte, text.size() - from);
  return found == nullptr ? kNone : static_cast<size_t>(static_cast<const char*>(found) - text.data());
}

// Where a bad node that goes on from `from` ends: just after the next ">", or just before the
// next "<", whichever comes first; kNone when the text ends first.
size_t BadNodeEnd(std::string_view text, size_t from) {
  for (size_t at = from; at < text.size(); ++at) {
    if (text[at] == '>') return at + 1;
    if (text[at] == '<') return at;
  }
  return kNone;
}

size_t NameEnd(std::string_view text, size_t from, size_t limit) {
  size_t at = from;
  while (at < limit && !IsNameStop(text[at])) ++at;
  return at;
}

}  // namespace

void NodeScanner::Next(NodeToken& token) {
  token.flags = 0;
  token.nameStart = token.nameLength = 0;
  token.message.clear();
  if (offset_ >= text_.size()) {
    token.type = NodeType::kEndOfDocument;
    token.start = static_cast<uint32_t>(text_.size());
    token.length = 0;
    return;
  }
  if (text_[offset_] == '<') {
    ScanMarkup(token);
  } else {
    ScanTextOrWhitespace(token);
  }
}

void NodeScanner::SkipToMarkup() {
  // Between the tags of a feed there is mostly a line end and some indentation: a short look
  // finds the next "<" faster than a call that is built for long runs.
  size_t limit = std::min(offset_ + 16, text_.size());
  for (size_t at = offset_; at < limit; ++at) {
    if (text_[at] == '<') {
      offset_ = at;
      return;
    }
  }
  size_t found = FindByte(text_, limit, '<');
  offset_ = found == kNone ? text_.size() : found;
}

void NodeScanner::Finish(NodeToken& token, NodeType type, size_t end) {
  token.type = type;
  token.start = static_cast<uint32_t>(offset_);
  token.length = static_cast<uint32_t>(end - offset_);
  offset_ = end;
}

void NodeScanner::Bad(NodeToken& token, std::string_view what, size_t badAt) {
  size_t end = BadNodeEnd(text_, badAt);
  if (end == kNone) return Unterminated(token, xml_messages::kTag);
  token.message = xml_messages::Incorrect(what, static_cast<uint32_t>(offset_));
  Finish(token, NodeType::kBad, end);
}

void NodeScanner::Unterminated(NodeToken& token, std::string_view what) {
  token.message = xml_messages::Unterminated(what, static_cast<uint32_t>(offset_));
  Finish(token, NodeType::kBad, text_.size());
}

void NodeScanner::ScanMarkup(NodeToken& token) {
  size_t start = offset_;
  if (start + 1 >= text_.size()) return Unterminated(token, xml_messages::kTag);
  auto next = static_cast<unsigned char>(text_[start + 1]);
  if (IsNameStart(next)) return ScanStartTag(token);
  if (next == '/') return ScanEndTag(token);
  if (next == '!') return ScanExclamation(token);
  if (next != '?') return Bad(token, xml_messages::kTagNameCharacter, start + 1);
  size_t close = TerminatorEnd(text_, start + 2, "?>");
  if (close == kNone) return Unterminated(token, xml_messages::kProcessingInstruction);
  size_t nameEnd = start + 2;
  while (nameEnd < close && !IsWhitespace(static_cast<unsigned char>(text_[nameEnd])) && text_[nameEnd] != '?') {
    ++nameEnd;
  }
  token.nameStart = static_cast<uint32_t>(start + 2);
  token.nameLength = static_cast<uint32_t>(nameEnd - start - 2);
  Finish(token, NodeType::kProcessingInstruction, close + 1);
}

void NodeScanner::ScanStartTag(NodeToken& token) {
  size_t start = offset_;
  // One pass reads the name and goes on to the closing ">"; only a quote inside the name, where
  // the quote already counts, sends the search for the ">" back to the name's start.
  size_t nameEnd = start + 1;
  while (nameEnd < text_.size() && (ClassOf(text_[nameEnd]) & (kNameStop | kQuote)) == 0) ++nameEnd;
  size_t close = kNone;
  if (nameEnd < text_.size() && (ClassOf(text_[nameEnd]) & kQuote) != 0) {
    close = QuotedTagEnd(text_, start + 1);
    if (close != kNone) nameEnd = NameEnd(text_, nameEnd, close);
  } else {
    close = QuotedTagEnd(text_, nameEnd);
  }
  if (close == kNone) return Unterminated(token, xml_messages::kElementTag);
  token.nameStart = static_cast<uint32_t>(start + 1);
  token.nameLength = static_cast<uint32_t>(nameEnd - start - 1);
  // "/>" makes an empty element when the "/" directly follows the name, whitespace or a closing
  // quote; after an unquoted value the "/" belongs to the value.
  if (text_[close - 1] == '/') {
    auto before = static_cast<unsigned char>(text_[close - 2]);
    if (close - 1 == nameEnd || IsWhitespace(before) || before == '"' || before == '\'') {
      token.flags |= NodeToken::kEmptyElementMark;
    }
  }
  Finish(token, NodeType::kStartTag, close + 1);
}

void NodeScanner::ScanEndTag(NodeToken& token) {
  size_t start = offset_;
  // End tags are short: the name, then the ">" almost always right after it.
  size_t nameEnd = NameEnd(text_, start + 2, text_.size());
  size_t close = nameEnd < text_.size() && text_[nameEnd] == '>' ? nameEnd : FindByte(text_, nameEnd, '>');
  if (close == kNone) return Unterminated(token, xml_messages::kElementEndTag);
  token.nameStart = static_cast<uint32_t>(start + 2);
  token.nameLength = static_cast<uint32_t>(nameEnd - start - 2);
  Finish(token, NodeType::kEndTag, close + 1);
}

void NodeScanner::ScanExclamation(NodeToken& token) {
  size_t start = offset_;
  if (start + 2 >= text_.size()) return Unterminated(token, xml_messages::kTag);
  char kind = text_[start + 2];
  if (kind == 'D') return ScanDocumentType(token);
  if (kind == 'E' || kind == 'A' || kind == 'N') {
    size_t close = QuotedTagEnd(text_, start + 2);
    if (close == kNone) return Unterminated(token, xml_messages::kDoctype);
    return Finish(token, NodeType::kDocumentType, close + 1);
  }
  if (kind != '-' && kind != '[') return Bad(token, xml_messages::kExclamationTag, start + 2);
  if (start + 3 >= text_.size()) return Unterminated(token, xml_messages::kTag);
  if (kind == '-') {
    if (text_[start + 3] != '-') return Bad(token, xml_messages::kCommentTag, start + 3);
    size_t close = TerminatorEnd(text_, start + 2, "-->");
    if (close == kNone) return Unterminated(token, xml_messages::kComment);
    return Finish(token, NodeType::kComment, close + 1);
  }
  if (text_[start + 3] != 'C') return Bad(token, xml_messages::kTag, start + 3);
  size_t close = TerminatorEnd(text_, start + 2, "]]>");
  if (close == kNone) return Unterminated(token, xml_messages::kCdataSection);
  Finish(token, NodeType::kCdata, close + 1);
}

// A document type declaration ends at the first ">" met outside nested markup. Nested markup
// (declarations, comments, processing instructions, even further declarations opened with "<!D")
// is followed with a depth count instead of recursion, so no input can exhaust the stack. The
// first bad nested node makes the whole declaration a bad node with that node's message.
void NodeScanner::ScanDocumentType(NodeToken& token) {
  int depth = 1;
  size_t at = offset_ + 3;
  while (depth > 0) {
    while (at < text_.size() && text_[at] != '<' && text_[at] != '>') ++at;
    if (at >= text_.size()) return Unterminated(token, xml_messages::kDoctype);
    if (text_[at] == '>') {
      --depth;
      ++at;
      continue;
    }
    at = NestedMarkupEnd(at, depth, token);
    if (at == kNone) return Unterminated(token, xml_messages::kDoctype);
  }
  Finish(token, token.message.empty() ? NodeType::kDocumentType : NodeType::kBad, at);
}

// The offset just after the markup that starts with the "<" at `at` inside a document type
// declaration, or kNone when the text ends inside it. A bad node there records its message in
// `token` if none is recorded yet.
size_t NodeScanner::NestedMarkupEnd(size_t at, int& depth, NodeToken& token) {
  auto bad = [&](std::string_view what, size_t badAt) {
    if (token.message.empty()) token.message = xml_messages::Incorrect(what, static_cast<uint32_t>(at));
    return BadNodeEnd(text_, badAt);
  };
  auto after = [](size_t close) { return close == kNone ? kNone : close + 1; };
  if (at + 1 >= text_.size()) return kNone;
  auto next = static_cast<unsigned char>(text_[at + 1]);
  if (next == '?') return after(TerminatorEnd(text_, at + 2, "?>"));
  if (next == '/') return after(FindByte(text_, at + 2, '>'));
  if (IsNameStart(next)) return after(QuotedTagEnd(text_, at + 1));
  if (next != '!') return bad(xml_messages::kTagNameCharacter, at + 1);
  if (at + 2 >= text_.size()) return kNone;
  char kind = text_[at + 2];
  if (kind == 'D') {
    ++depth;
    return at + 3;
  }
  if (kind == 'E' || kind == 'A' || kind == 'N') return after(QuotedTagEnd(text_, at + 2));
  if (kind != '-') return bad(xml_messages::kExclamationTag, at + 2);
  if (at + 3 >= text_.size()) return kNone;
  if (text_[at + 3] != '-') return bad(xml_messages::kCommentTag, at + 3);
  return after(TerminatorEnd(text_, at + 2, "-->"));
}

// Whitespace lasts up to the next "<"; a run that meets another character first is text, which
// ends just before the next "<" or just after the next ">".
void NodeScanner::ScanTextOrWhitespace(NodeToken& token) {
  size_t at = offset_;
  while (at < text_.size() && IsWhitespace(static_cast<unsigned char>(text_[at]))) ++at;
  if (at == text_.size() || text_[at] == '<') return Finish(token, NodeType::kWhitespace, at);
  for (; at < text_.size(); ++at) {
    if (text_[at] == '<') return Finish(token, NodeType::kText, at);
    if (text_[at] == '>') return Finish(token, NodeType::kText, at + 1);
  }
  Finish(token, NodeType::kText, text_.size());
}

}  // namespace tarnwick::feed
