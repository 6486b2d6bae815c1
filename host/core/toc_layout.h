#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::host {

// The table of contents beside every mailbox file. Readers outside the host rely on the header
// size, the 16-bit entry count at offset 102 (little-endian; it stops at 65535), the entry size and
// the signed 16-bit state at offset 12 of an entry (0 = unread). The rest is the host's own.
inline constexpr size_t kTocHeaderSize = 104;
inline constexpr size_t kTocEntrySize = 218;
inline constexpr size_t kTocCountOffset = 102;
inline constexpr size_t kTocStateOffset = 12;

/// Message states the host gives names to; any other 16-bit value is kept as it is.
inline constexpr int16_t kStateUnread = 0;
inline constexpr int16_t kStateRead = 1;
inline constexpr int16_t kStateReplied = 2;
inline constexpr int16_t kStateForwarded = 3;
inline constexpr int16_t kStateSent = 8;
inline constexpr int16_t kStateUnsent = 9;

/// Sizes of the summary texts kept in an entry (longer texts are cut at a character boundary).
inline constexpr size_t kSummaryDateSize = 32;
inline constexpr size_t kSummaryFromSize = 64;
inline constexpr size_t kSummarySubjectSize = 98;

/// The three header values a mailbox listing shows, as kept in the table of contents.
struct MessageSummary {
  std::string date;
  std::string from;
  std::string subject;
};

/// Entry flag: the message starts with a separator line (a file may begin without one).
inline constexpr uint16_t kEntryHasSeparator = 1;

/// One message of a mailbox: where it lies in the mailbox file and what the host knows of it.
struct TocEntry {
  uint64_t offset = 0;
  uint32_t length = 0;
  int16_t state = kStateUnread;
  uint16_t flags = 0;
  uint32_t id = 0;
  uint32_t hash = 0;  ///< FNV-1a of the message's bytes, to recognise it after a re-read
  MessageSummary summary;
};

/// The header of a table of contents: the state of the mailbox file it describes.
struct TocHeader {
  uint64_t mailboxSize = 0;
  int64_t mailboxModifiedSeconds = 0;
  int64_t mailboxModifiedNanoseconds = 0;
  uint32_t nextId = 1;
  uint32_t count = 0;  ///< the full count; offset 102 holds it cut to 16 bits
};

/// The 104 header bytes.
std::string EncodeTocHeader(const TocHeader& header);
/// The header read from at least kTocHeaderSize bytes; nullopt when they are not a host table.
std::optional<TocHeader> DecodeTocHeader(std::string_view bytes);

/// The 218 entry bytes.
std::string EncodeTocEntry(const TocEntry& entry);
/// The entry read from at least kTocEntrySize bytes.
TocEntry DecodeTocEntry(std::string_view bytes);

/// FNV-1a 32-bit hash continued over `bytes` from `hash` (start with kHashStart).
inline constexpr uint32_t kHashStart = 2166136261u;
uint32_t ContinueHash(uint32_t hash, std::string_view bytes);

/// The text cut to at most `size` bytes without splitting a UTF-8 character.
std::string CutToSize(std::string_view text, size_t size);

}  // namespace tarnwick::host
