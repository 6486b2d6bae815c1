#pragma once

// Every text the XML parser puts into a document's error text, in one place. The texts that take
// values are completed by the functions beside them, which keep the exact wording.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::feed::xml_messages {

inline constexpr std::string_view kEmptyDocument = "Empty document";
inline constexpr std::string_view kNoRootElement = "No root element";
inline constexpr std::string_view kRootElementHasSibling = "Root element has sibling";
/// Joins a file-size text and a parse error.
inline constexpr std::string_view kSeparator = ", ";
/// Follows the size in the text set after a file was read ("1234 bytes").
inline constexpr std::string_view kBytesSuffix = " bytes";

/// Names of what a bad node was, for "Incorrect %s at offset %d".
inline constexpr std::string_view kTagNameCharacter = "tag name character";
inline constexpr std::string_view kExclamationTag = "! tag";
inline constexpr std::string_view kCommentTag = "comment tag";
inline constexpr std::string_view kTag = "tag";

/// Names of markup that the text ends inside, for "%s at offset %d unterminated".
inline constexpr std::string_view kElementTag = "Element tag";
inline constexpr std::string_view kElementEndTag = "Element end tag";
inline constexpr std::string_view kCdataSection = "CDATA Section";
inline constexpr std::string_view kProcessingInstruction = "Processing instruction";
inline constexpr std::string_view kComment = "Comment";
inline constexpr std::string_view kDoctype = "Doctype";

/// "Element '<name>' at offset <offset> not ended".
std::string ElementNotEnded(std::string_view name, uint32_t offset);
/// "End tag '<name>' at offset <offset> does not match start tag '<openName>' at offset <openOffset>".
std::string EndTagMismatch(std::string_view name, uint32_t offset, std::string_view openName, uint32_t openOffset);
/// "No start tag for end tag '<name>' at offset <offset>".
std::string NoStartTag(std::string_view name, uint32_t offset);
/// "<what> at offset <offset> unterminated".
std::string Unterminated(std::string_view what, uint32_t offset);
/// "Incorrect <what> at offset <offset>".
std::string Incorrect(std::string_view what, uint32_t offset);
/// "<size> bytes", the text left after a file was read.
std::string FileSize(uint64_t size);
/// "Document of <size> bytes is larger than the parser's limit of <limit> bytes".
std::string DocumentTooLarge(uint64_t size, uint64_t limit);

}  // namespace tarnwick::feed::xml_messages
