#pragma once

#include "feed/xml_element_table.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::feed {

/// An XML document kept as its unchanged text plus a table of element boundaries, walked with a
/// three-level cursor: the parent whose children are walked, the current element and the current
/// child of the current element (0 means none, or the document itself). Names, texts and
/// attribute values are cut from the text and decoded when asked for.
///
/// Parsing never stops on bad input: the first fault is kept in ErrorText, the document is marked
/// as not well-formed, and every element that could be delimited stays navigable. Names are
/// compared byte for byte with the part of the argument before its first character from " =/[]".
/// A document is a value: copies are independent. It is not meant to be shared between threads.
class XmlDocument {
public:
  /// The largest text the element table can address; a longer one is refused with a message.
  static constexpr uint64_t kMaxTextBytes = UINT32_MAX;

  /// An empty document: no text, error "Empty document", the cursor at the document level.
  XmlDocument();

  /// Replaces the text by `text` (none empties the document), rebuilds the element table and puts
  /// the cursor back at the document level. The error text is cleared first and then holds the
  /// first fault found. True when the result is well-formed. The document keeps the text: a
  /// caller done with it passes it with std::move and nothing is copied.
  bool ParseText(std::string text = {});
  /// Reads the whole file, converts it to UTF-8 from its own encoding (XmlDocumentAsUtf8) and
  /// parses it. False with the system's error text (and the previous
  /// document kept) when the file cannot be read; otherwise the error text is "<size> bytes",
  /// followed by ", " and the first fault when there is one, and the result is WellFormed().
  bool LoadFile(const std::string& path);
  /// True when no fault was marked, a root element exists and it has no sibling.
  bool WellFormed() const;
  /// The error text of the last load or parse; empty when there was none.
  const std::string& ErrorText() const { return error_; }

  /// Moves to the next sibling of the current element, or to the first child of the parent when
  /// there is no current element; with a name, to the first such element of that name. On success
  /// the child position is cleared; on failure nothing changes.
  bool FindElement();
  /// FindElement, taking only elements named `name`.
  bool FindElement(std::string_view name);
  /// Moves the child position to the next child of the current element (the first one when the
  /// child position is clear); with no current element, first moves to the first element of the
  /// level, and when the level has none the document itself stands in for the current element,
  /// so the root element is the candidate. On failure the child position stays.
  bool FindChildElement();
  /// FindChildElement, taking only children named `name`.
  bool FindChildElement(std::string_view name);
  /// Descends: the current element becomes the parent and the child position the current one
  /// (none when no child was found). False when there is no current element.
  bool EnterElement();
  /// Ascends: the current element becomes the child position and the parent the current one.
  /// False at the document level.
  bool LeaveElement();
  /// Clears the child position, so that the next FindChildElement starts from the first child.
  void RestartChildSearch() { child_ = 0; }
  /// Puts the cursor back at the document level, where parsing leaves it.
  void Rewind() { ResetPosition(); }

  /// The name of the current element; empty when there is none.
  std::string TagName() const;
  /// The decoded text of the current element (the document when there is none): empty when it
  /// has child elements or is empty; CDATA sections are joined raw with the decoded text runs.
  std::string ElementText() const { return TextOf(current_); }
  /// ElementText for the child position.
  std::string ChildText() const { return TextOf(child_); }
  /// The decoded value of the current element's attribute `name`; the attribute's own name when
  /// it is written without "="; empty when it is absent or there is no current element.
  std::string AttributeValue(std::string_view name) const;
  /// AttributeValue for the child position.
  std::string ChildAttributeValue(std::string_view name) const;
  /// The raw bytes between the current element's start and end tags, undecoded; empty when there
  /// is no current element or it is empty.
  std::string ElementMarkup() const;

  /// The whole document text as parsed.
  const std::string& Text() const { return text_; }
  /// The element table; index 0 is the document.
  const ElementTable& Elements() const { return elements_; }
  /// The index of the element whose children are walked; 0 at the document level.
  uint32_t ParentPosition() const { return parent_; }
  /// The index of the current element; 0 when there is none.
  uint32_t CurrentPosition() const { return current_; }
  /// The index of the current child of the current element; 0 when there is none.
  uint32_t ChildPosition() const { return child_; }
  /// The name of any element (TagName's rule), as a view into Text(); empty for index 0.
  std::string_view ElementName(uint32_t index) const;
  /// AttributeValue for any element, wherever the cursor is; empty for index 0 or past the table.
  std::string AttributeValueAt(uint32_t index, std::string_view name) const;

private:
  bool Parse();
  bool FindElementMatching(const std::string_view* key);
  bool FindChildMatching(const std::string_view* key);
  std::string TextOf(uint32_t index) const;
  std::string AttributeOf(uint32_t index, std::string_view name) const;
  std::string_view ContentOf(uint32_t index) const;
  std::string_view StartTagOf(uint32_t index) const;
  void ResetPosition();

  std::string text_;
  std::string error_;
  uint32_t parent_ = 0;
  uint32_t current_ = 0;
  uint32_t child_ = 0;
  int nodeKind_ = 0;  // 1 when the current position is an element, 0 when it is 0
  ElementTable elements_;
};

}  // namespace tarnwick::feed
