#include "feed/xml_element_table.h"

#include <algorithm>
#include <cstring>

namespace tarnwick::feed {
namespace {

// Records are trivially copyable, so pages are allocated without zeroing: untouched room costs
// no work, and the operating system does not even commit it for large pages.
std::unique_ptr<ElementRecord[]> NewPage(uint32_t records) {
  return std::unique_ptr<ElementRecord[]>(new ElementRecord[records]);
}

}  // namespace

ElementTable::ElementTable(const ElementTable& other)
    : pageSizes_(other.pageSizes_),
      capacity_(other.capacity_),
      nextFree_(other.nextFree_),
      longStartTags_(other.longStartTags_),
      longEndTags_(other.longEndTags_) {
  pages_.reserve(other.pages_.capacity());
  uint64_t remaining = nextFree_;  // only records in use carry anything worth copying
  for (size_t page = 0; page < other.pages_.size(); ++page) {
    pages_.push_back(NewPage(pageSizes_[page]));
    uint64_t used = std::min<uint64_t>(remaining, pageSizes_[page]);
    std::memcpy(pages_.back().get(), other.pages_[page].get(), used * sizeof(ElementRecord));
    remaining -= used;
  }
}

ElementTable& ElementTable::operator=(const ElementTable& other) {
  if (this != &other) *this = ElementTable(other);
  return *this;
}

void ElementTable::Reset(uint64_t textLength) {
  nextFree_ = 1;
  longStartTags_.clear();
  longEndTags_.clear();
  uint64_t wanted = textLength / 64 + 8;
  if (capacity_ < wanted) Reserve(wanted);
  (*this)[0] = ElementRecord{};
}

// One and a half times the records in use, but never past the end of the page after the one that
// holds the last record in use, so a huge table grows a page at a time and never doubles.
void ElementTable::Grow() {
  uint64_t used = nextFree_;
  uint64_t lastPage = (used - 1) >> kPageBits;
  uint64_t limit = (lastPage + 2) << kPageBits;
  uint64_t wanted = std::min(used + used / 2, limit);
  Reserve(std::max(wanted, used + 1));
}

// Allocates up to `records` in total: the partly filled last page is reallocated and copied,
// full pages stay where they are, new pages are added; the directory grows to twice the new last
// page number plus four entries when it is too small.
void ElementTable::Reserve(uint64_t records) {
  records = std::min<uint64_t>(records, uint64_t{1} << 32);
  if (records <= capacity_) return;
  uint64_t lastPage = (records - 1) >> kPageBits;
  if (pages_.capacity() <= lastPage) {
    pages_.reserve(2 * lastPage + 4);
    pageSizes_.reserve(2 * lastPage + 4);
  }
  for (uint64_t page = 0; page <= lastPage; ++page) {
    uint64_t pageStart = page << kPageBits;
    auto wanted = static_cast<uint32_t>(std::min<uint64_t>(kPageRecords, records - pageStart));
    if (page < pages_.size()) {
      if (pageSizes_[page] >= wanted) continue;
      auto grown = NewPage(wanted);
      uint64_t used = nextFree_ > pageStart ? std::min<uint64_t>(nextFree_ - pageStart, pageSizes_[page]) : 0;
      std::memcpy(grown.get(), pages_[page].get(), used * sizeof(ElementRecord));
      pages_[page] = std::move(grown);
      pageSizes_[page] = wanted;
    } else {
      pages_.push_back(NewPage(wanted));
      pageSizes_.push_back(wanted);
    }
  }
  capacity_ = records;
}

size_t ElementTable::MemoryBytes() const {
  size_t bytes = pages_.capacity() * sizeof(pages_[0]) + pageSizes_.capacity() * sizeof(uint32_t);
  for (uint32_t size : pageSizes_) bytes += size_t{size} * sizeof(ElementRecord);
  // A rough figure for the side table's nodes: key, value, link and hash.
  bytes += (longStartTags_.size() + longEndTags_.size()) * 32;
  return bytes;
}

void ElementTable::SetLongStartTagLength(uint32_t index, uint32_t length) {
  ElementRecord& record = (*this)[index];
  uint32_t field = length;
  if (length >= kStartTagField) {
    field = kStartTagField;
    longStartTags_[index] = length;
  } else if (!longStartTags_.empty()) {
    longStartTags_.erase(index);
  }
  record.tagLengths = (record.tagLengths & ~kStartTagField) | field;
}

void ElementTable::SetLongEndTagLength(uint32_t index, uint32_t length) {
  ElementRecord& record = (*this)[index];
  uint32_t field = length;
  if (length >= kEndTagField) {
    field = kEndTagField;
    longEndTags_[index] = length;
  } else if (!longEndTags_.empty()) {
    longEndTags_.erase(index);
  }
  record.tagLengths = (record.tagLengths & kStartTagField) | (field << 22);
}

uint32_t ElementTable::StartTagLength(uint32_t index) const {
  uint32_t field = (*this)[index].tagLengths & kStartTagField;
  if (field != kStartTagField) return field;
  auto found = longStartTags_.find(index);
  return found != longStartTags_.end() ? found->second : field;
}

uint32_t ElementTable::EndTagLength(uint32_t index) const {
  uint32_t field = (*this)[index].tagLengths >> 22;
  if (field != kEndTagField) return field;
  auto found = longEndTags_.find(index);
  return found != longEndTags_.end() ? found->second : field;
}

}  // namespace tarnwick::feed
