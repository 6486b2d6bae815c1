#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::feed {

/// What one scanned node of a document is.
enum class NodeType : int {
  kEndOfDocument = -2,
  kBad = -1,
  kEndTag = 0,
  kStartTag = 1,
  kText = 2,
  kWhitespace = 4,
  kCdata = 8,
  kProcessingInstruction = 16,
  kComment = 32,
  kDocumentType = 64,  ///< a document type declaration, or an element, attribute-list, entity or notation declaration
};

/// The result of scanning one node; offsets are into the scanned text.
struct NodeToken {
  /// The empty-element mark in `flags`: a start tag that ends with "/>".
  static constexpr uint32_t kEmptyElementMark = 0x10000;

  NodeType type = NodeType::kEndOfDocument;
  uint32_t start = 0;
  uint32_t length = 0;
  uint32_t flags = 0;
  uint32_t nameStart = 0;  ///< the name of a start tag, end tag or processing instruction
  uint32_t nameLength = 0;
  std::string message;  ///< for a bad node only: why it is bad

  bool IsEmptyElement() const { return (flags & kEmptyElementMark) != 0; }
};

/// Cuts a text into nodes (tags, text runs, comments, ...) one at a time, from left to right.
/// Every byte string is accepted: what does not form a proper node becomes a bad node with a
/// message, and the scan always moves forward. The text must stay alive and be shorter than 4 GiB.
class NodeScanner {
public:
  explicit NodeScanner(std::string_view text) : text_(text) {}

  /// Scans the node at the current offset into `token` and moves past it; at the end of the text
  /// the token is kEndOfDocument with length 0.
  void Next(NodeToken& token);
  /// Moves to the next "<", passing over text and whitespace nodes, which can never be bad.
  void SkipToMarkup();
  /// The offset the next node starts at.
  size_t Offset() const { return offset_; }

private:
  void ScanMarkup(NodeToken& token);
  void ScanStartTag(NodeToken& token);
  void ScanEndTag(NodeToken& token);
  void ScanExclamation(NodeToken& token);
  void ScanDocumentType(NodeToken& token);
  void ScanTextOrWhitespace(NodeToken& token);
  size_t NestedMarkupEnd(size_t at, int& depth, NodeToken& token);
  void Finish(NodeToken& token, NodeType type, size_t end);
  void Bad(NodeToken& token, std::string_view what, size_t badAt);
  void Unterminated(NodeToken& token, std::string_view what);

  std::string_view text_;
  size_t offset_ = 0;
};

}  // namespace tarnwick::feed
