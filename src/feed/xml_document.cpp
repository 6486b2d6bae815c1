#include "feed/xml_document.h"

#include "feed/xml_content_text.h"
#include "feed/xml_encoding.h"
#include "feed/xml_messages.h"
#include "feed/xml_start_tag.h"
#include "feed/xml_tree_builder.h"
#include "platform/file.h"
#include "platform/file_io.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <cerrno>

namespace tarnwick::feed {
namespace {

// Reads the whole file into `bytes`, straight into the text's own room; false with the error
// number when it cannot be opened or read, or is too large to be parsed. `validUtf8` tells
// whether the bytes are valid UTF-8: each piece is checked while it is still in the cache, so a
// UTF-8 document costs no pass of its own.
bool ReadWholeFile(const std::string& path, std::string& bytes, bool& validUtf8, int& errorNumber) {
  constexpr size_t kPiece = 128 * 1024;
  platform::File file = platform::File::Open(path, platform::FileAccess::kRead, platform::FileCreation::kExisting);
  if (!file.IsOpen()) {
    errorNumber = errno;
    return false;
  }
  const uint64_t size = file.Info().size;
  if (size > XmlDocument::kMaxTextBytes) {
    errorNumber = EFBIG;
    return false;
  }
  bytes.clear();
  bytes.reserve(static_cast<size_t>(size) + kPiece);
  size_t validUpTo = 0;  // stays at the first fault; a character cut by a piece's end waits for the next
  for (;;) {
    const size_t used = bytes.size();
    bytes.resize(used + kPiece);
    const int64_t got = file.Read(bytes.data() + used, kPiece);
    bytes.resize(used + static_cast<size_t>(std::max<int64_t>(got, 0)));
    if (got == 0) break;
    if (got < 0 || bytes.size() > XmlDocument::kMaxTextBytes) {
      errorNumber = got < 0 ? errno : EFBIG;
      return false;
    }
    validUpTo += platform::ValidUtf8Length(std::string_view(bytes).substr(validUpTo));
  }
  validUtf8 = validUpTo == bytes.size();
  return true;
}

}  // namespace

XmlDocument::XmlDocument() {
  ParseText();
}

bool XmlDocument::ParseText(std::string text) {
  text_ = std::move(text);
  error_.clear();
  return Parse();
}

bool XmlDocument::LoadFile(const std::string& path) {
  std::string bytes;
  bool validUtf8 = false;
  int errorNumber = 0;
  if (!ReadWholeFile(path, bytes, validUtf8, errorNumber)) {
    error_ = platform::SystemErrorText(errorNumber);
    return false;
  }
  const size_t fileSize = bytes.size();
  // A valid UTF-8 document is parsed as read; anything else goes through the conversion, which
  // would return such a document unchanged.
  text_ = validUtf8 && XmlDocumentIsUtf8(bytes) ? std::move(bytes) : XmlDocumentAsUtf8(std::move(bytes));
  error_ = xml_messages::FileSize(fileSize);
  return Parse();
}

// Rebuilds the table for the current text. An error text present before (the file size of
// LoadFile) is kept in front of the new one.
bool XmlDocument::Parse() {
  std::string earlier = std::move(error_);
  error_.clear();
  ResetPosition();
  if (text_.size() > kMaxTextBytes) {
    elements_.Reset(0);
    elements_[0].flags |= ElementTable::kIllFormedFlag;
    error_ = xml_messages::DocumentTooLarge(text_.size(), kMaxTextBytes);
  } else {
    elements_.Reset(text_.size());
    if (text_.empty()) {
      error_ = xml_messages::kEmptyDocument;
    } else {
      uint32_t root = BuildElementTree(text_, elements_, error_);
      elements_[0].length = static_cast<uint32_t>(text_.size());
      if (root == 0) {
        error_ = xml_messages::kNoRootElement;
      } else if (elements_[root].nextSibling != 0) {
        error_ = xml_messages::kRootElementHasSibling;
      }
    }
  }
  ResetPosition();
  if (!earlier.empty()) {
    error_ = error_.empty() ? std::move(earlier) : earlier + std::string(xml_messages::kSeparator) + error_;
  }
  return WellFormed();
}

void XmlDocument::ResetPosition() {
  parent_ = current_ = child_ = 0;
  nodeKind_ = 0;
}

bool XmlDocument::WellFormed() const {
  const ElementRecord& document = elements_[0];
  if ((document.flags & ElementTable::kIllFormedFlag) != 0 || document.firstChild == 0) return false;
  return elements_[document.firstChild].nextSibling == 0;
}

bool XmlDocument::FindElement() {
  return FindElementMatching(nullptr);
}

bool XmlDocument::FindElement(std::string_view name) {
  std::string_view key = NameKey(name);
  return FindElementMatching(&key);
}

bool XmlDocument::FindChildElement() {
  return FindChildMatching(nullptr);
}

bool XmlDocument::FindChildElement(std::string_view name) {
  std::string_view key = NameKey(name);
  return FindChildMatching(&key);
}

bool XmlDocument::FindElementMatching(const std::string_view* key) {
  uint32_t candidate = current_ != 0 ? elements_[current_].nextSibling : elements_[parent_].firstChild;
  for (; candidate != 0; candidate = elements_[candidate].nextSibling) {
    if (key != nullptr && ElementName(candidate) != *key) continue;
    current_ = candidate;
    parent_ = elements_[candidate].parent;
    child_ = 0;
    nodeKind_ = 1;
    return true;
  }
  return false;
}

// With no current element the search first moves to the first element of the level; if there is
// still none, record 0 stands in for the current element, so the candidate is the root element.
bool XmlDocument::FindChildMatching(const std::string_view* key) {
  if (current_ == 0) FindElementMatching(nullptr);
  uint32_t candidate = child_ != 0 ? elements_[child_].nextSibling : elements_[current_].firstChild;
  for (; candidate != 0; candidate = elements_[candidate].nextSibling) {
    if (key != nullptr && ElementName(candidate) != *key) continue;
    child_ = candidate;
    current_ = elements_[candidate].parent;
    parent_ = elements_[current_].parent;
    nodeKind_ = current_ != 0 ? 1 : 0;
    return true;
  }
  return false;
}

bool XmlDocument::EnterElement() {
  if (current_ == 0 || nodeKind_ != 1) return false;
  parent_ = current_;
  current_ = child_;
  child_ = 0;
  nodeKind_ = current_ != 0 ? 1 : 0;
  return true;
}

bool XmlDocument::LeaveElement() {
  if (parent_ == 0) return false;
  child_ = current_;
  current_ = parent_;
  parent_ = elements_[current_].parent;
  nodeKind_ = 1;
  return true;
}

std::string XmlDocument::TagName() const {
  return current_ != 0 ? std::string(ElementName(current_)) : std::string();
}

std::string XmlDocument::AttributeValue(std::string_view name) const {
  return AttributeOf(current_, name);
}

std::string XmlDocument::ChildAttributeValue(std::string_view name) const {
  return AttributeOf(child_, name);
}

std::string XmlDocument::ElementMarkup() const {
  return current_ != 0 ? std::string(ContentOf(current_)) : std::string();
}

std::string_view XmlDocument::ElementName(uint32_t index) const {
  return index != 0 ? StartTagName(StartTagOf(index)) : std::string_view();
}

std::string XmlDocument::TextOf(uint32_t index) const {
  if (elements_[index].firstChild != 0) return {};
  return ContentText(ContentOf(index));
}

std::string XmlDocument::AttributeOf(uint32_t index, std::string_view name) const {
  if (index == 0 || nodeKind_ != 1) return {};
  return StartTagAttribute(StartTagOf(index), name);
}

std::string XmlDocument::AttributeValueAt(uint32_t index, std::string_view name) const {
  if (index == 0 || index >= elements_.Count()) return {};
  return StartTagAttribute(StartTagOf(index), name);
}

std::string_view XmlDocument::StartTagOf(uint32_t index) const {
  return std::string_view(text_).substr(elements_[index].start, elements_.StartTagLength(index));
}

// The bytes between the start and end tags; none for an element that is only a start tag (an
// empty element, or one that was never ended).
std::string_view XmlDocument::ContentOf(uint32_t index) const {
  const ElementRecord& record = elements_[index];
  uint32_t startTag = elements_.StartTagLength(index);
  uint32_t endTag = elements_.EndTagLength(index);
  if (record.length <= startTag || record.length - startTag < endTag) return {};
  return std::string_view(text_).substr(record.start + startTag, record.length - startTag - endTag);
}

}  // namespace tarnwick::feed
