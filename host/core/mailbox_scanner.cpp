#include "core/mailbox_scanner.h"

#include "core/host_texts.h"
#include "core/mbox_format.h"
#include "platform/file.h"

#include <cerrno>

namespace tarnwick::host {
namespace {

constexpr size_t kChunkSize = 1 << 20;
// Header blocks longer than this are cut for the summary; the message itself is untouched.
constexpr size_t kMaxSummaryHeader = 64 * 1024;

bool IsBlank(std::string_view line) {
  for (char c : line) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
  }
  return true;
}

// Collects messages line by line.
class MessageCollector {
public:
  explicit MessageCollector(std::vector<TocEntry>& entries) : entries_(entries) {}

  void Line(std::string_view line, uint64_t offset) {
    bool separator = IsSeparatorLine(line);
    if (separator) {
      Finish(offset);
      Start(offset, kEntryHasSeparator);
    } else if (!open_) {
      Start(offset, 0);
    }
    hash_ = ContinueHash(hash_, line);
    if (separator) return;
    if (!(flags_ & kEntryHasSeparator) && !IsBlank(line)) blankOnly_ = false;
    if (inHeader_) {
      if (line == "\r\n" || line == "\n") {
        inHeader_ = false;
      } else if (header_.size() < kMaxSummaryHeader) {
        header_ += line;
      }
    }
  }

  // Closes the message that is open, which ends where the next one (or the file) starts.
  void Finish(uint64_t end) {
    if (!open_) return;
    open_ = false;
    if (!(flags_ & kEntryHasSeparator) && blankOnly_) return;  // blank lines before the first message
    TocEntry entry;
    entry.offset = start_;
    entry.length = static_cast<uint32_t>(end - start_);
    entry.flags = flags_;
    entry.hash = hash_;
    entry.summary = SummaryOfMessage(header_);
    entries_.push_back(std::move(entry));
  }

private:
  void Start(uint64_t offset, uint16_t flags) {
    open_ = true;
    start_ = offset;
    flags_ = flags;
    blankOnly_ = true;
    inHeader_ = true;
    header_.clear();
    hash_ = kHashStart;
  }

  std::vector<TocEntry>& entries_;
  bool open_ = false;
  uint64_t start_ = 0;
  uint16_t flags_ = 0;
  bool blankOnly_ = true;
  bool inHeader_ = true;
  std::string header_;
  uint32_t hash_ = kHashStart;
};

}  // namespace

MessageSummary SummaryOfMessage(std::string_view stored) {
  StoredMessageParts parts = SplitStoredMessage(stored);
  MessageSummary summary;
  summary.date = CutToSize(OneLine(HeaderValue(parts.headerBlock, "Date")), kSummaryDateSize);
  summary.from = CutToSize(OneLine(HeaderValue(parts.headerBlock, "From")), kSummaryFromSize);
  summary.subject = CutToSize(OneLine(HeaderValue(parts.headerBlock, "Subject")), kSummarySubjectSize);
  return summary;
}

ScanResult ScanMailboxFile(const std::string& path) {
  ScanResult result;
  platform::File file = platform::File::Open(path, platform::FileAccess::kRead, platform::FileCreation::kExisting);
  if (!file.IsOpen()) {
    result.errorText = CannotReadText(path, errno);
    return result;
  }
  MessageCollector collector(result.entries);
  std::string chunk(kChunkSize, '\0');
  std::string carry;  // a line that runs on into the next chunk
  uint64_t lineOffset = 0;
  for (;;) {
    const int64_t got = file.Read(chunk.data(), chunk.size());
    if (got < 0) {
      result.errorText = CannotReadText(path, errno);
      return result;
    }
    if (got == 0) break;
    std::string_view data(chunk.data(), static_cast<size_t>(got));
    result.size += static_cast<uint64_t>(got);
    while (!data.empty()) {
      size_t end = data.find('\n');
      if (end == std::string_view::npos) {
        carry += data;
        break;
      }
      std::string_view line = data.substr(0, end + 1);
      if (!carry.empty()) {
        carry += line;
        line = carry;
      }
      collector.Line(line, lineOffset);
      lineOffset += line.size();
      carry.clear();
      data.remove_prefix(end + 1);
    }
  }
  file.Close();
  if (!carry.empty()) {
    collector.Line(carry, lineOffset);
    result.endsWithLineEnd = false;
  }
  collector.Finish(result.size);
  result.ok = true;
  return result;
}

}  // namespace tarnwick::host
