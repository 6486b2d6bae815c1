#include "automation/host_automation.h"

#include "automation/automation_texts.h"
#include "automation/host_folder.h"
#include "platform/application_name.h"
#include "platform/dispatch_ids.h"
#include "platform/host_connect.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "store/file_utilities.h"

#include <chrono>
#include <thread>

namespace tarnwick::automation {
namespace {

constexpr int kOpenPauseMilliseconds = 200;

// Depth first in index order: the id of the first mailbox whose file path is `path`; -1 when none.
int SearchMailboxId(const HostCollection& collection, const std::string& path, bool ignoreCase) {
  int count = collection.Count();
  for (int position = 1; position <= count; ++position) {
    HostFolder item(collection.Item(position));
    if (!item.IsValid()) continue;
    const std::string itemPath = item.Path();
    if (ignoreCase ? platform::EqualsIgnoreCase(itemPath, path) : itemPath == path) return item.Id();
    int found = SearchMailboxId(item.Children(), path, ignoreCase);
    if (found != -1) return found;
  }
  return -1;
}

void ListMailboxPathsInto(const HostCollection& collection, std::vector<MailboxPathId>& listed) {
  int count = collection.Count();
  for (int position = 1; position <= count; ++position) {
    HostFolder item(collection.Item(position));
    if (!item.IsValid()) continue;
    listed.push_back({item.Path(), item.Id()});
    ListMailboxPathsInto(item.Children(), listed);
  }
}

}  // namespace

HostAutomation::HostAutomation(WaitFunction wait, std::string progId)
    : wait_(std::move(wait)), progId_(progId.empty() ? platform::kMailAutomationProgId : std::move(progId)) {}

void HostAutomation::Wait(int milliseconds) const {
  if (wait_) {
    wait_(milliseconds);
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

HostConnectResult HostAutomation::Connect() const {
  return ConnectToHost(progId_);
}

bool HostAutomation::SetStatusText(const std::string& text, std::string* errorText) const {
  HostConnectResult connection = Connect();
  if (!connection.Connected()) {
    if (errorText != nullptr) *errorText = connection.errorText;
    return false;
  }
  return connection.application.SetStatusText(text, errorText);
}

std::string HostAutomation::MailboxPathCreating(const std::string& name) const {
  // An empty name would otherwise become the safe name's stand-in and create a mailbox nobody asked for.
  if (platform::TrimWhiteSpace(name).empty()) return kNoPath;
  std::string safeName = platform::TrimWhiteSpace(store::SafeFileName(name));
  if (safeName.empty()) return kNoPath;
  HostConnectResult connection = Connect();
  if (!connection.Connected()) {
    platform::ShowMessageBox(connection.errorText, platform::kApplicationName);
    return kNoPath;
  }
  (void)connection.application.TopLevel().Add(safeName);
  std::string path = connection.application.MailboxByName(safeName).Path();
  return path.empty() ? kNoPath : path;
}

bool HostAutomation::OpenMailboxByName(const std::string& name) const {
  HostConnectResult connection = Connect();
  if (!connection.Connected()) return false;
  bool opened = connection.application.MailboxByName(name).Open();
  if (opened) Wait(kOpenPauseMilliseconds);
  return opened;
}

int HostAutomation::FindMailboxId(const HostCollection& collection, const std::string& path) {
  // File names differ by case here, so "News.mbx" and "news.mbx" are two mailboxes: the exact path
  // wins, and the case-blind match only serves a path stored in another case.
  int exact = SearchMailboxId(collection, path, false);
  return exact != -1 ? exact : SearchMailboxId(collection, path, true);
}

std::vector<MailboxPathId> HostAutomation::ListMailboxPaths(const HostCollection& collection) {
  std::vector<MailboxPathId> listed;
  ListMailboxPathsInto(collection, listed);
  return listed;
}

const MailboxPathId* HostAutomation::FindListedMailbox(const std::vector<MailboxPathId>& listed,
                                                       const std::string& path) {
  for (const MailboxPathId& mailbox : listed) {
    if (mailbox.path == path) return &mailbox;
  }
  for (const MailboxPathId& mailbox : listed) {
    if (platform::EqualsIgnoreCase(mailbox.path, path)) return &mailbox;
  }
  return nullptr;
}

int HostAutomation::FindMailboxId(const std::string& path) const {
  HostConnectResult connection = Connect();
  if (!connection.Connected()) return -1;
  return FindMailboxId(connection.application.TopLevel(), path);
}

bool HostAutomation::OpenMailboxByPath(const std::string& path) const {
  HostConnectResult connection = Connect();
  if (!connection.Connected()) return false;
  int id = FindMailboxId(connection.application.TopLevel(), path);
  if (id == -1) return false;
  HostFolder mailbox = connection.application.MailboxById(id);
  if (!mailbox.Open()) return false;
  (void)connection.application.SetStatusText(mailbox.Name());
  return true;
}

bool HostAutomation::CloseMailboxWindow(const std::string& title) const {
  platform::HostWindowsConnectResult connection = platform::ConnectHostWindows();
  if (!connection.windows || !connection.windows->HasMainWindow()) return false;
  return connection.windows->CloseMailboxWindow(title);
}

bool HostAutomation::CloseTopMailboxWindow() const {
  platform::HostWindowsConnectResult connection = platform::ConnectHostWindows();
  if (!connection.windows) return false;
  std::vector<std::string> titles = connection.windows->MailboxWindowTitles();
  return !titles.empty() && connection.windows->CloseMailboxWindow(titles.front());
}

std::vector<std::string> HostAutomation::MailboxWindowTitles() const {
  platform::HostWindowsConnectResult connection = platform::ConnectHostWindows();
  if (!connection.windows) return {};
  return connection.windows->MailboxWindowTitles();
}

bool HostAutomation::BringHostForward() const {
  platform::HostWindowsConnectResult connection = platform::ConnectHostWindows();
  return connection.windows && connection.windows->BringMainWindowForward();
}

}  // namespace tarnwick::automation
