#include "core/mailbox_tree.h"

#include "core/host_texts.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <deque>
#include <optional>

namespace tarnwick::host {
namespace {

// Deeper folders are not read (a symbolic link that points up the tree would go on forever).
constexpr int kMaxDepth = 16;

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() > suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

int TopRank(const MailboxNode& node) {
  if (node.depth != 0 || !node.isMailbox) return 3;
  if (node.name == kInMailboxName) return 0;
  if (node.name == kOutMailboxName) return 1;
  if (node.name == kTrashMailboxName) return 2;
  return 3;
}

}  // namespace

MailboxTree::MailboxTree(std::string dataFolder) : dataFolder_(std::move(dataFolder)) {
  idsByPath_[std::string(kInMailboxName) + kMailboxExtension] = kInMailboxId;
  idsByPath_[std::string(kOutMailboxName) + kMailboxExtension] = kOutMailboxId;
  idsByPath_[std::string(kTrashMailboxName) + kMailboxExtension] = kTrashMailboxId;
}

int32_t MailboxTree::IdFor(const std::string& relativePath) {
  auto [found, added] = idsByPath_.emplace(relativePath, nextId_);
  if (added) ++nextId_;
  return found->second;
}

StoreStatus MailboxTree::Scan() {
  if (!platform::ListFolder(dataFolder_)) return StoreStatus::Failure(CannotReadText(dataFolder_, errno));
  nodes_.clear();
  topLevel_.clear();
  ScanFolder("", 0, 0, topLevel_);
  return StoreStatus::Success();
}

void MailboxTree::ScanFolder(const std::string& relativeFolder, int32_t parentId, int depth,
                             std::vector<int32_t>& list) {
  std::string folderPath = relativeFolder.empty() ? dataFolder_ : dataFolder_ + "/" + relativeFolder;
  std::optional<std::vector<std::string>> names = platform::ListFolder(folderPath);
  if (!names) return;
  std::vector<MailboxNode> found;
  for (const std::string& fileName : *names) {
    std::string relativePath = relativeFolder.empty() ? fileName : relativeFolder + "/" + fileName;
    bool isDirectory = platform::IsFolder(dataFolder_ + "/" + relativePath);
    MailboxNode node;
    if (EndsWith(fileName, kMailboxExtension) && !isDirectory) {
      node.name = fileName.substr(0, fileName.size() - 4);
    } else if (EndsWith(fileName, kFolderExtension) && isDirectory) {
      node.isMailbox = false;
      node.name = fileName.substr(0, fileName.size() - 4);
    } else {
      continue;
    }
    node.relativePath = relativePath;
    node.parentId = parentId;
    node.depth = depth;
    found.push_back(std::move(node));
  }
  std::sort(found.begin(), found.end(), [](const MailboxNode& a, const MailboxNode& b) {
    if (TopRank(a) != TopRank(b)) return TopRank(a) < TopRank(b);
    std::string lowerA = platform::ToLowerAscii(a.name);
    std::string lowerB = platform::ToLowerAscii(b.name);
    if (lowerA != lowerB) return lowerA < lowerB;
    if (a.name != b.name) return a.name < b.name;
    return a.isMailbox && !b.isMailbox;
  });
  for (MailboxNode& node : found) {
    node.id = IdFor(node.relativePath);
    list.push_back(node.id);
    int32_t id = node.id;
    bool descend = !node.isMailbox && depth + 1 < kMaxDepth;
    std::string relativePath = node.relativePath;
    nodes_[id] = std::move(node);
    if (descend) {
      std::vector<int32_t> children;
      ScanFolder(relativePath, id, depth + 1, children);
      nodes_[id].children = std::move(children);
    }
  }
}

const MailboxNode* MailboxTree::Find(int32_t id) const {
  auto found = nodes_.find(id);
  return found == nodes_.end() ? nullptr : &found->second;
}

std::vector<int32_t> MailboxTree::InTreeOrder() const {
  std::vector<int32_t> order;
  std::vector<int32_t> stack(topLevel_.rbegin(), topLevel_.rend());
  while (!stack.empty()) {
    int32_t id = stack.back();
    stack.pop_back();
    order.push_back(id);
    const MailboxNode* node = Find(id);
    if (node != nullptr) stack.insert(stack.end(), node->children.rbegin(), node->children.rend());
  }
  return order;
}

int32_t MailboxTree::FindByRelativePath(const std::string& relativePath) const {
  auto found = idsByPath_.find(relativePath);
  if (found == idsByPath_.end() || nodes_.count(found->second) == 0) return 0;
  return found->second;
}

int32_t MailboxTree::FindMailboxByName(const std::string& name) const {
  std::deque<int32_t> level(topLevel_.begin(), topLevel_.end());
  while (!level.empty()) {
    // One whole level at a time: an exact match anywhere on it wins over a match in another case.
    int32_t caseless = 0;
    std::deque<int32_t> next;
    for (int32_t id : level) {
      const MailboxNode* node = Find(id);
      if (node == nullptr) continue;
      if (node->isMailbox && node->name == name) return id;
      if (node->isMailbox && caseless == 0 && platform::EqualsIgnoreCase(node->name, name)) caseless = id;
      next.insert(next.end(), node->children.begin(), node->children.end());
    }
    if (caseless != 0) return caseless;
    level = std::move(next);
  }
  return 0;
}

std::string MailboxTree::FullPath(const MailboxNode& node) const {
  return dataFolder_ + "/" + node.relativePath;
}

}  // namespace tarnwick::host
