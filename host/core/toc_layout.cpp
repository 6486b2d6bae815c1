#include "core/toc_layout.h"

#include <algorithm>
#include <cstring>

namespace tarnwick::host {
namespace {

constexpr char kMagic[8] = {'M', 'B', 'X', 'T', 'O', 'C', '1', '\0'};
constexpr uint16_t kLayoutVersion = 1;

// Byte offsets of the host's own fields.
constexpr size_t kEntrySizeAt = 8;
constexpr size_t kVersionAt = 10;
constexpr size_t kMailboxSizeAt = 12;
constexpr size_t kModifiedSecondsAt = 20;
constexpr size_t kModifiedNanosecondsAt = 28;
constexpr size_t kNextIdAt = 36;
constexpr size_t kFullCountAt = 40;

constexpr size_t kOffsetAt = 0;
constexpr size_t kLengthAt = 8;
constexpr size_t kFlagsAt = 14;
constexpr size_t kIdAt = 16;
constexpr size_t kHashAt = 20;
constexpr size_t kDateAt = 24;
constexpr size_t kFromAt = kDateAt + kSummaryDateSize;
constexpr size_t kSubjectAt = kFromAt + kSummaryFromSize;
static_assert(kSubjectAt + kSummarySubjectSize == kTocEntrySize);

template <typename Number>
void Put(std::string& bytes, size_t at, Number value) {
  auto bits = static_cast<std::make_unsigned_t<Number>>(value);
  for (size_t i = 0; i < sizeof(Number); ++i) {
    bytes[at + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  }
}

template <typename Number>
Number Take(std::string_view bytes, size_t at) {
  std::make_unsigned_t<Number> bits = 0;
  for (size_t i = 0; i < sizeof(Number); ++i) {
    bits |= static_cast<std::make_unsigned_t<Number>>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  }
  return static_cast<Number>(bits);
}

void PutText(std::string& bytes, size_t at, size_t size, std::string_view text) {
  std::string cut = CutToSize(text, size);
  std::memcpy(bytes.data() + at, cut.data(), cut.size());
}

std::string TakeText(std::string_view bytes, size_t at, size_t size) {
  std::string_view field = bytes.substr(at, size);
  return std::string(field.substr(0, field.find('\0')));
}

}  // namespace

std::string EncodeTocHeader(const TocHeader& header) {
  std::string bytes(kTocHeaderSize, '\0');
  std::memcpy(bytes.data(), kMagic, sizeof kMagic);
  Put<uint16_t>(bytes, kEntrySizeAt, kTocEntrySize);
  Put<uint16_t>(bytes, kVersionAt, kLayoutVersion);
  Put<uint64_t>(bytes, kMailboxSizeAt, header.mailboxSize);
  Put<int64_t>(bytes, kModifiedSecondsAt, header.mailboxModifiedSeconds);
  Put<int64_t>(bytes, kModifiedNanosecondsAt, header.mailboxModifiedNanoseconds);
  Put<uint32_t>(bytes, kNextIdAt, header.nextId);
  Put<uint32_t>(bytes, kFullCountAt, header.count);
  Put<uint16_t>(bytes, kTocCountOffset, static_cast<uint16_t>(std::min<uint32_t>(header.count, 0xFFFF)));
  return bytes;
}

std::optional<TocHeader> DecodeTocHeader(std::string_view bytes) {
  if (bytes.size() < kTocHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
  if (Take<uint16_t>(bytes, kEntrySizeAt) != kTocEntrySize || Take<uint16_t>(bytes, kVersionAt) != kLayoutVersion) {
    return std::nullopt;
  }
  TocHeader header;
  header.mailboxSize = Take<uint64_t>(bytes, kMailboxSizeAt);
  header.mailboxModifiedSeconds = Take<int64_t>(bytes, kModifiedSecondsAt);
  header.mailboxModifiedNanoseconds = Take<int64_t>(bytes, kModifiedNanosecondsAt);
  header.nextId = Take<uint32_t>(bytes, kNextIdAt);
  header.count = Take<uint32_t>(bytes, kFullCountAt);
  if (std::min<uint32_t>(header.count, 0xFFFF) != Take<uint16_t>(bytes, kTocCountOffset)) return std::nullopt;
  return header;
}

std::string EncodeTocEntry(const TocEntry& entry) {
  std::string bytes(kTocEntrySize, '\0');
  Put<uint64_t>(bytes, kOffsetAt, entry.offset);
  Put<uint32_t>(bytes, kLengthAt, entry.length);
  Put<int16_t>(bytes, kTocStateOffset, entry.state);
  Put<uint16_t>(bytes, kFlagsAt, entry.flags);
  Put<uint32_t>(bytes, kIdAt, entry.id);
  Put<uint32_t>(bytes, kHashAt, entry.hash);
  PutText(bytes, kDateAt, kSummaryDateSize, entry.summary.date);
  PutText(bytes, kFromAt, kSummaryFromSize, entry.summary.from);
  PutText(bytes, kSubjectAt, kSummarySubjectSize, entry.summary.subject);
  return bytes;
}

TocEntry DecodeTocEntry(std::string_view bytes) {
  TocEntry entry;
  entry.offset = Take<uint64_t>(bytes, kOffsetAt);
  entry.length = Take<uint32_t>(bytes, kLengthAt);
  entry.state = Take<int16_t>(bytes, kTocStateOffset);
  entry.flags = Take<uint16_t>(bytes, kFlagsAt);
  entry.id = Take<uint32_t>(bytes, kIdAt);
  entry.hash = Take<uint32_t>(bytes, kHashAt);
  entry.summary.date = TakeText(bytes, kDateAt, kSummaryDateSize);
  entry.summary.from = TakeText(bytes, kFromAt, kSummaryFromSize);
  entry.summary.subject = TakeText(bytes, kSubjectAt, kSummarySubjectSize);
  return entry;
}

uint32_t ContinueHash(uint32_t hash, std::string_view bytes) {
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

std::string CutToSize(std::string_view text, size_t size) {
  if (text.size() <= size) return std::string(text);
  size_t cut = size;
  // Step back over continuation bytes so that a multi-byte character is dropped whole.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return std::string(text.substr(0, cut));
}

}  // namespace tarnwick::host
