#include "core/mail_store.h"

#include "core/host_texts.h"
#include "platform/file_system.h"

#include <algorithm>
#include <cerrno>

namespace tarnwick::host {
namespace {

bool IsUsableName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    if (c == '/' || c == '\0' || c == '\r' || c == '\n') return false;
  }
  return true;
}

// Creates an empty file unless something is there already. False with `error` set when it fails.
bool CreateEmptyFile(const std::string& path, int& error) {
  if (platform::File::Open(path, platform::FileAccess::kWrite, platform::FileCreation::kCreateNew).IsOpen()) {
    return true;
  }
  error = errno;
  return error == EEXIST;
}

}  // namespace

MailStore::MailStore(std::string dataFolder)
    : dataFolder_(std::move(dataFolder)), settings_(dataFolder_), tree_(dataFolder_) {}

std::unique_ptr<MailStore> MailStore::Open(const std::string& dataFolder, std::string& errorText) {
  // Plug-ins get full paths of mailbox files from the host, so the folder is made absolute.
  std::string folder = dataFolder.empty() ? std::string() : platform::AbsolutePath(dataFolder);
  if (folder.empty() || !platform::IsFolder(folder)) {
    errorText = MissingDataFolderText(dataFolder);
    return nullptr;
  }
  std::unique_ptr<MailStore> store(new MailStore(folder));
  StoreStatus status = store->EnsureStandardMailboxes();
  if (status.ok) status = store->Rescan();
  if (!status.ok) {
    errorText = status.errorText;
    return nullptr;
  }
  return store;
}

StoreStatus MailStore::EnsureStandardMailboxes() {
  for (const char* name : {kInMailboxName, kOutMailboxName, kTrashMailboxName}) {
    std::string path = dataFolder_ + "/" + name + kMailboxExtension;
    int error = 0;
    if (!CreateEmptyFile(path, error)) return StoreStatus::Failure(CannotWriteText(path, error));
  }
  return StoreStatus::Success();
}

MailStore::ChangeNotice::~ChangeNotice() {
  if (changed_.empty()) return;
  StoreChangeListener listener;
  {
    std::lock_guard lock(store_.listenerMutex_);
    listener = store_.listener_;
  }
  if (!listener) return;
  std::vector<int32_t> told;
  for (int32_t id : changed_) {
    if (std::find(told.begin(), told.end(), id) != told.end()) continue;
    told.push_back(id);
    listener(id);
  }
}

void MailStore::SetChangeListener(StoreChangeListener listener) {
  std::lock_guard lock(listenerMutex_);
  listener_ = std::move(listener);
}

StoreStatus MailStore::Rescan() {
  ChangeNotice notice(*this);
  std::lock_guard lock(mutex_);
  // Plug-ins look mailboxes up many times a check: the folders are read again only when a mailbox
  // or folder came, went or moved, or the settings changed, since they were last read.
  const TreeMark mark = CurrentTreeMark();
  if (treeKnown_ && mark == scannedTree_) return StoreStatus::Success();
  settings_.Reload();
  const std::vector<int32_t> before = tree_.InTreeOrder();
  StoreStatus status = tree_.Scan();
  if (status.ok && tree_.InTreeOrder() != before) notice.Add(kTreeChanged);
  // A folder followed only from now on may have changed unseen while it was read.
  treeKnown_ = status.ok && FollowTreeFolders();
  scannedTree_ = mark;
  return status;
}

MailStore::TreeMark MailStore::CurrentTreeMark() {
  return {changeWatch_.TreeChanges(), changeWatch_.Stamp(settings_.Path(), settings_.Path())};
}

bool MailStore::FollowTreeFolders() {
  const size_t followed = changeWatch_.FolderCount();
  bool all = changeWatch_.Watch(settings_.Path()) && changeWatch_.Watch(dataFolder_ + "/");
  for (int32_t id : tree_.InTreeOrder()) {
    const MailboxNode* node = tree_.Find(id);
    if (node != nullptr && !node->isMailbox) all = changeWatch_.Watch(tree_.FullPath(*node) + "/") && all;
  }
  return all && changeWatch_.FolderCount() == followed;
}

std::vector<int32_t> MailStore::TopLevel() {
  std::lock_guard lock(mutex_);
  return tree_.TopLevel();
}

std::vector<int32_t> MailStore::Children(int32_t id) {
  std::lock_guard lock(mutex_);
  const MailboxNode* node = tree_.Find(id);
  return node == nullptr ? std::vector<int32_t>{} : node->children;
}

MailboxInfo MailStore::InfoOf(const MailboxNode& node) const {
  MailboxInfo info;
  info.id = node.id;
  info.isMailbox = node.isMailbox;
  info.name = node.name;
  info.relativePath = node.relativePath;
  info.fullPath = tree_.FullPath(node);
  info.parentId = node.parentId;
  info.depth = node.depth;
  info.leftOut = settings_.IsLeftOut(node.relativePath);
  return info;
}

std::vector<MailboxInfo> MailStore::AllInTreeOrder() {
  std::lock_guard lock(mutex_);
  std::vector<MailboxInfo> all;
  for (int32_t id : tree_.InTreeOrder()) {
    if (const MailboxNode* node = tree_.Find(id)) all.push_back(InfoOf(*node));
  }
  return all;
}

std::optional<MailboxInfo> MailStore::Info(int32_t id) {
  std::lock_guard lock(mutex_);
  const MailboxNode* node = tree_.Find(id);
  if (node == nullptr) return std::nullopt;
  return InfoOf(*node);
}

int32_t MailStore::FindMailbox(const std::string& nameOrPath) {
  std::string text = nameOrPath;
  bool isPath = text.find('/') != std::string::npos ||
                (text.size() > 4 && text.compare(text.size() - 4, 4, kMailboxExtension) == 0);
  if (!isPath) return FindMailboxByName(text);
  if (text.starts_with(dataFolder_ + "/")) text.erase(0, dataFolder_.size() + 1);
  while (text.starts_with("./")) text.erase(0, 2);
  std::lock_guard lock(mutex_);
  int32_t id = tree_.FindByRelativePath(text);
  const MailboxNode* node = tree_.Find(id);
  return node != nullptr && node->isMailbox ? id : 0;
}

int32_t MailStore::FindMailboxOrFolder(const std::string& nameOrPath) {
  int32_t id = FindMailbox(nameOrPath);
  if (id != 0) return id;
  std::string text = nameOrPath;
  while (text.starts_with("./")) text.erase(0, 2);
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  std::lock_guard lock(mutex_);
  if ((id = tree_.FindByRelativePath(text)) != 0) return id;
  for (int32_t candidate : tree_.InTreeOrder()) {
    const MailboxNode* node = tree_.Find(candidate);
    if (node != nullptr && !node->isMailbox && node->name == nameOrPath) return candidate;
  }
  return 0;
}

int32_t MailStore::FindMailboxByName(const std::string& name) {
  std::lock_guard lock(mutex_);
  return tree_.FindMailboxByName(name);
}

StoreStatus MailStore::Create(int32_t parentId, const std::string& name, bool isMailbox, int32_t* newId,
                              bool* created) {
  ChangeNotice notice(*this);
  std::lock_guard lock(mutex_);
  if (created != nullptr) *created = false;
  if (!IsUsableName(name)) return StoreStatus::Failure(BadNameText(name));
  std::string relativeFolder;
  if (parentId != 0) {
    const MailboxNode* parent = tree_.Find(parentId);
    if (parent == nullptr) return StoreStatus::Failure(kMailboxGoneText);
    if (parent->isMailbox) return StoreStatus::Failure(kCannotAddHereText);
    relativeFolder = parent->relativePath + "/";
  }
  std::string relativePath = relativeFolder + name + (isMailbox ? kMailboxExtension : kFolderExtension);
  std::string path = dataFolder_ + "/" + relativePath;
  int error = 0;
  if (isMailbox) {
    if (!CreateEmptyFile(path, error)) return StoreStatus::Failure(CannotWriteText(path, error));
    if (error == 0 && created != nullptr) *created = true;
  } else if (platform::MakeFolder(path)) {
    if (created != nullptr) *created = true;
  } else if (errno != EEXIST || !platform::IsFolder(path)) {
    return StoreStatus::Failure(CannotWriteText(path, errno));
  }
  settings_.Reload();
  StoreStatus status = tree_.Scan();
  if (!status.ok) return status;
  notice.Add(kTreeChanged);
  int32_t id = tree_.FindByRelativePath(relativePath);
  const MailboxNode* node = tree_.Find(id);
  if (node == nullptr || node->isMailbox != isMailbox) return StoreStatus::Failure(CannotWriteText(path, EEXIST));
  if (newId != nullptr) *newId = id;
  return StoreStatus::Success();
}

StoreStatus MailStore::SetLeftOut(int32_t id, bool leftOut) {
  ChangeNotice notice(*this);
  std::lock_guard lock(mutex_);
  const MailboxNode* node = tree_.Find(id);
  if (node == nullptr) return StoreStatus::Failure(kMailboxGoneText);
  if (!settings_.SetLeftOut(node->relativePath, leftOut)) {
    return StoreStatus::Failure(CannotWriteText(dataFolder_ + "/" + kHostSettingsFileName, errno));
  }
  notice.Add(kTreeChanged);
  return StoreStatus::Success();
}

bool MailStore::AutomationEnabled() {
  std::lock_guard lock(mutex_);
  settings_.Reload();
  return settings_.AutomationEnabled();
}

StoreStatus MailStore::SetAutomationEnabled(bool enabled) {
  std::lock_guard lock(mutex_);
  if (!settings_.SetAutomationEnabled(enabled)) {
    return StoreStatus::Failure(CannotWriteText(dataFolder_ + "/" + kHostSettingsFileName, errno));
  }
  return StoreStatus::Success();
}

void MailStore::SetFaultHook(FaultHook hook) {
  std::lock_guard lock(mutex_);
  faultHook_ = std::move(hook);
  for (auto& [id, mailbox] : mailboxes_) mailbox->SetFaultHook(faultHook_);
}

}  // namespace tarnwick::host
