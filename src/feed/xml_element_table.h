#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace tarnwick::feed {

/// One element of a parsed document: byte offsets into the document text and links to its
/// relatives, which are indexes into the same ElementTable (0 for none, or for the document).
struct ElementRecord {
  uint32_t start;        ///< offset of the "<" of the start tag
  uint32_t length;       ///< bytes from the start tag's "<" through the end tag's ">" (start tag alone when not ended)
  uint32_t tagLengths;   ///< start-tag length in the low 22 bits, end-tag length in the high 10 bits
  uint32_t flags;        ///< on record 0 only: kIllFormedFlag
  uint32_t parent;       ///< index of the parent element, 0 for a top-level element
  uint32_t firstChild;   ///< index of the first child element, 0 if none
  uint32_t nextSibling;  ///< index of the next sibling element, 0 if none
  uint32_t previousSibling;  ///< previous sibling; for a first child, its parent's last child
};
static_assert(sizeof(ElementRecord) == 32);

/// The element records of one document in pages of 65,536 records that never move once full.
/// Index 0 is the document itself; elements get 1, 2, 3, ... in the order of their start tags.
/// Tag lengths too long for their bit fields are kept exactly in a side table, so
/// StartTagLength and EndTagLength are always right.
class ElementTable {
public:
  static constexpr uint32_t kPageBits = 16;
  static constexpr uint32_t kPageRecords = 1u << kPageBits;
  /// The ill-formed mark in the flags of record 0.
  static constexpr uint32_t kIllFormedFlag = 0x800000;
  /// Largest start-tag length held in the record itself; longer ones go to the side table.
  static constexpr uint32_t kStartTagField = (1u << 22) - 1;
  /// Largest end-tag length held in the record itself; longer ones go to the side table.
  static constexpr uint32_t kEndTagField = (1u << 10) - 1;

  /// An empty table with room for 8 records.
  ElementTable() { Reset(0); }
  ElementTable(const ElementTable& other);
  ElementTable& operator=(const ElementTable& other);
  ElementTable(ElementTable&&) noexcept = default;
  ElementTable& operator=(ElementTable&&) noexcept = default;

  /// Empties the table for a text of `textLength` bytes: record 0 cleared, the next index 1, and
  /// room for at least textLength / 64 + 8 records (room already there is kept).
  void Reset(uint64_t textLength);
  /// Takes the next free index, growing the table when it is full; the new record is zeroed.
  uint32_t Add() {
    if (nextFree_ >= capacity_) Grow();
    const uint32_t index = nextFree_++;
    (*this)[index] = ElementRecord{};
    return index;
  }

  /// The record at an index below Count(); no bounds check.
  ElementRecord& operator[](uint32_t index) { return pages_[index >> kPageBits][index & (kPageRecords - 1)]; }
  const ElementRecord& operator[](uint32_t index) const {
    return pages_[index >> kPageBits][index & (kPageRecords - 1)];
  }

  /// Records in use, record 0 included; the next new element gets this index.
  uint32_t Count() const { return nextFree_; }
  /// Records allocated.
  uint64_t Capacity() const { return capacity_; }
  /// Number of pages in the directory.
  size_t PageCount() const { return pages_.size(); }
  /// Bytes held by the records, the page directory and the side table.
  size_t MemoryBytes() const;

  /// Stores the exact start-tag length of an element.
  void SetStartTagLength(uint32_t index, uint32_t length) {
    if (length >= kStartTagField || !longStartTags_.empty()) return SetLongStartTagLength(index, length);
    ElementRecord& record = (*this)[index];
    record.tagLengths = (record.tagLengths & ~kStartTagField) | length;
  }
  /// Stores the exact end-tag length of an element (0 for an empty or not ended element).
  void SetEndTagLength(uint32_t index, uint32_t length) {
    if (length >= kEndTagField || !longEndTags_.empty()) return SetLongEndTagLength(index, length);
    ElementRecord& record = (*this)[index];
    record.tagLengths = (record.tagLengths & kStartTagField) | (length << 22);
  }
  /// The exact start-tag length of an element (0 for record 0).
  uint32_t StartTagLength(uint32_t index) const;
  /// The exact end-tag length of an element.
  uint32_t EndTagLength(uint32_t index) const;

private:
  void Grow();
  void Reserve(uint64_t records);
  // The setters for a length that goes to or leaves a side table, out of the parser's common path.
  void SetLongStartTagLength(uint32_t index, uint32_t length);
  void SetLongEndTagLength(uint32_t index, uint32_t length);

  std::vector<std::unique_ptr<ElementRecord[]>> pages_;
  std::vector<uint32_t> pageSizes_;  // records allocated in each page
  uint64_t capacity_ = 0;
  uint32_t nextFree_ = 1;
  // Exact lengths of tags too long for their fields, keyed by element index; both are rare.
  std::unordered_map<uint32_t, uint32_t> longStartTags_;
  std::unordered_map<uint32_t, uint32_t> longEndTags_;
};

}  // namespace tarnwick::feed
