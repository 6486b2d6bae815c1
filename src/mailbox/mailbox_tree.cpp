#include "mailbox/mailbox_tree.h"

#include "automation/host_folder.h"
#include "mailbox/mailbox_tree_texts.h"
#include "platform/dispatch_ids.h"
#include "platform/text.h"
#include "platform/ui_pump.h"
#include "store/file_utilities.h"

#include <algorithm>

namespace tarnwick::mailbox {
namespace {

constexpr char kSeparator = '/';
constexpr char kMailboxExtension[] = ".mbx";
constexpr char kFolderExtension[] = ".fol";

void ReadCollection(const automation::HostCollection& collection, MailboxList& entries) {
  const int count = collection.Count();
  for (int position = 1; position <= count; ++position) {
    automation::HostFolder item(collection.Item(position));
    if (!item.IsValid() || item.LeftOut() == 1) continue;
    MailboxEntry entry{item.Name(), item.Path(), item.Id(), kEntryMailbox, 0};
    if (item.Kind() == platform::kFolderKindMailbox) {
      entry.messageCount = std::max(item.Messages().Count(), 0);
      entries.push_back(std::move(entry));
    } else {
      entry.kind = kEntryFolder;
      entries.push_back(std::move(entry));
      ReadCollection(item.Children(), entries);
    }
  }
}

bool EndsWithIgnoringCase(const std::string& text, std::string_view ending) {
  return text.size() >= ending.size() &&
         platform::EqualsIgnoreCase(std::string_view(text).substr(text.size() - ending.size()), ending);
}

// The folder part of a path, up to and including its last separator; empty when it has none.
std::string_view FolderOf(const std::string& path) {
  const size_t last = path.rfind(kSeparator);
  return last == std::string::npos ? std::string_view() : std::string_view(path).substr(0, last + 1);
}

// Byte order with the letters A-Z folded to lower case, as the tree control compares its texts.
bool NameBefore(const MailboxTreeNode& a, const MailboxTreeNode& b) {
  return platform::ToLowerAscii(a.entry.name) < platform::ToLowerAscii(b.entry.name);
}

void SortByName(std::vector<MailboxTreeNode>& nodes) {
  std::stable_sort(nodes.begin(), nodes.end(), NameBefore);
  for (MailboxTreeNode& node : nodes) SortByName(node.children);
}

bool Walk(const MailboxTreeNode& node, const std::string& path, MailboxPreselection& preselection) {
  if (platform::EqualsIgnoreCase(node.entry.path, path)) {
    preselection.selected = &node;
    return true;
  }
  if (node.children.empty()) return false;
  preselection.expanded.push_back(&node);
  for (const MailboxTreeNode& child : node.children) {
    if (Walk(child, path, preselection)) return true;
  }
  return false;
}

}  // namespace

MailboxListResult ReadHostMailboxes(const automation::HostAutomation& host) {
  automation::HostConnectResult connection = host.Connect();
  if (!connection.Connected()) return {{}, connection.errorText};
  automation::HostCollection topLevel = connection.application.TopLevel();
  if (topLevel.Count() <= 0) platform::DrainMessages();
  MailboxListResult result;
  ReadCollection(topLevel, result.entries);
  return result;
}

std::vector<MailboxTreeNode> NestMailboxes(const MailboxList& entries, const std::string& folderPath) {
  std::string folder = folderPath;
  if (folder.empty() || folder.back() != kSeparator) folder += kSeparator;
  std::vector<MailboxTreeNode> children;
  for (const MailboxEntry& entry : entries) {
    if (entry.name.empty() || entry.path.empty()) continue;
    if (!platform::EqualsIgnoreCase(FolderOf(entry.path), folder)) continue;
    if (EndsWithIgnoringCase(entry.path, kMailboxExtension)) {
      children.push_back({MailboxEntry{entry.name, entry.path, entry.id, kEntryMailbox, entry.messageCount}, {}});
    } else if (EndsWithIgnoringCase(entry.path, kFolderExtension)) {
      children.push_back(
          {MailboxEntry{entry.name, entry.path, entry.id, kEntryFolder, 0}, NestMailboxes(entries, entry.path)});
    }
  }
  return children;
}

std::vector<MailboxTreeNode> BuildMailboxTree(const MailboxList& entries, const std::string& folderPath) {
  std::vector<MailboxTreeNode> children = NestMailboxes(entries, folderPath);
  SortByName(children);
  return children;
}

std::string MailboxTreeRootName(const std::string& dataFolder) {
  std::string_view folder = dataFolder;
  while (!folder.empty() && folder.back() == kSeparator) folder.remove_suffix(1);
  const size_t last = folder.rfind(kSeparator);
  std::string name(last == std::string_view::npos ? folder : folder.substr(last + 1));
  return name.empty() ? kMailboxesRootName : name;
}

MailboxTreeNode MailboxTreeRoot(const MailboxList& entries, const std::string& dataFolder) {
  return {MailboxEntry{MailboxTreeRootName(dataFolder), dataFolder, 0, kEntryRoot, 0},
          BuildMailboxTree(entries, dataFolder)};
}

MailboxPreselection PreselectMailbox(const MailboxTreeNode& root, const std::string& newsboxPath) {
  MailboxPreselection preselection;
  if (!store::FileExists(newsboxPath)) return preselection;
  for (const MailboxTreeNode& child : root.children) {
    if (Walk(child, newsboxPath, preselection)) break;
  }
  return preselection;
}

}  // namespace tarnwick::mailbox
