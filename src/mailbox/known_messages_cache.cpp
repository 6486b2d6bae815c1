#include "mailbox/known_messages_cache.h"

#include "platform/file_system.h"
#include "store/file_utilities.h"

#include <cstdint>

namespace tarnwick::mailbox {
namespace {

constexpr char kFileExtension[] = ".ids";

// FNV-1a, 64 bits: file names that differ for different paths, whatever characters they hold.
uint64_t PathHash(const std::string& path) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : path) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace

KnownMessagesCache::KnownMessagesCache(std::string folder, size_t bound) : folder_(std::move(folder)), bound_(bound) {}

std::string KnownMessagesCache::FilePathOf(const std::string& newsboxPath) const {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string name(16, '0');
  uint64_t hash = PathHash(newsboxPath);
  for (size_t i = name.size(); i > 0; --i, hash >>= 4) name[i - 1] = kDigits[hash & 0xf];
  return folder_ + "/" + name + kFileExtension;
}

KnownMessages* KnownMessagesCache::Find(const std::string& newsboxPath) {
  auto found = known_.find(newsboxPath);
  if (found != known_.end()) return &found->second;
  if (folder_.empty()) return nullptr;
  std::optional<KnownMessages> read = ReadKnownMessagesFile(FilePathOf(newsboxPath), newsboxPath);
  if (!read) return nullptr;
  held_ += read->Size();
  KnownMessages& kept = known_[newsboxPath] = std::move(*read);
  KeepWithinBound(newsboxPath);
  return &kept;
}

KnownMessages* KnownMessagesCache::FindCurrent(const std::string& newsboxPath, const NewsboxStamp& stamp) {
  KnownMessages* known = Find(newsboxPath);
  return known != nullptr && known->stamp == stamp && stamp.mailbox.exists ? known : nullptr;
}

KnownMessages& KnownMessagesCache::Store(const std::string& newsboxPath, KnownMessages known, bool persist) {
  WriteFile(newsboxPath, known, persist);
  auto [entry, added] = known_.try_emplace(newsboxPath);
  if (!added) held_ -= entry->second.Size();
  held_ += known.Size();
  entry->second = std::move(known);
  KeepWithinBound(newsboxPath);
  return entry->second;
}

void KnownMessagesCache::Persist(const std::string& newsboxPath) {
  held_ = 0;
  for (const auto& [path, known] : known_) held_ += known.Size();
  const KnownMessages& known = known_.at(newsboxPath);
  WriteFile(newsboxPath, known, known.stamp.mailbox.exists);
  KeepWithinBound(newsboxPath);
}

void KnownMessagesCache::WriteFile(const std::string& newsboxPath, const KnownMessages& known, bool persist) {
  if (folder_.empty()) return;
  if (!persist) {
    (void)platform::RemoveFile(FilePathOf(newsboxPath));
    return;
  }
  if (!store::FolderExists(folder_)) (void)platform::MakeFolder(folder_);
  (void)WriteKnownMessagesFile(FilePathOf(newsboxPath), newsboxPath, known);
}

void KnownMessagesCache::KeepWithinBound(const std::string& newsboxPath) {
  if (held_ <= bound_) return;
  std::erase_if(known_, [&](const auto& entry) { return entry.first != newsboxPath; });
  held_ = known_.at(newsboxPath).Size();
}

}  // namespace tarnwick::mailbox
