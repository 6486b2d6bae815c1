#include "ui/file_in_menu.h"

#include "mailbox/newsbox_writer.h"
#include "platform/text.h"
#include "ui/article_actions.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tarnwick::ui {
namespace {

// The two staging mailboxes: what is moved out of them is moved on as a whole.
constexpr std::array<std::string_view, 4> kNamesNeverOffered = {"Trash", "Out", mailbox::kPendingMailboxName,
                                                                kFilingMailboxName};

bool NeverOffered(const mailbox::MailboxEntry& entry, const FileInMenuPaths& paths) {
  const bool named = std::any_of(kNamesNeverOffered.begin(), kNamesNeverOffered.end(),
                                 [&](std::string_view name) { return platform::EqualsIgnoreCase(entry.name, name); });
  if (named) return true;
  if (entry.kind != mailbox::kEntryMailbox) return false;
  return platform::EqualsIgnoreCase(entry.path, paths.inMailboxPath) ||
         platform::EqualsIgnoreCase(entry.path, paths.outMailboxPath);
}

}  // namespace

std::vector<mailbox::MailboxTreeNode> FileInMenuMailboxes(const mailbox::MailboxList& hostMailboxes,
                                                          const FileInMenuPaths& paths) {
  mailbox::MailboxList offered;
  for (const mailbox::MailboxEntry& entry : hostMailboxes) {
    if (!NeverOffered(entry, paths)) offered.push_back(entry);
  }
  return mailbox::NestMailboxes(offered, paths.dataFolder);
}

int FileInCommandOf(int32_t mailboxId) {
  return mailboxId >= kFileInInCommand && mailboxId <= kLastFileInCommand ? mailboxId : 0;
}

}  // namespace tarnwick::ui
