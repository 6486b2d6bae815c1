#include "mailbox/host_mailbox_maker.h"

#include "automation/host_folder.h"
#include "mailbox/mailbox_tree_texts.h"
#include "platform/text.h"
#include "store/file_utilities.h"

namespace tarnwick::mailbox {

MadeMailbox MakeHostMailbox(const automation::HostAutomation& host, int32_t folderId, const std::string& name) {
  MadeMailbox made;
  const std::string safeName =
      platform::TrimWhiteSpace(name).empty() ? std::string() : platform::TrimWhiteSpace(store::SafeFileName(name));
  if (safeName.empty()) {
    made.errorText = kNoMailboxNameText;
    return made;
  }
  automation::HostConnectResult connection = host.Connect();
  if (!connection.Connected()) {
    made.errorText = connection.errorText;
    return made;
  }
  const automation::HostCollection folder =
      folderId == 0 ? connection.application.TopLevel() : connection.application.MailboxById(folderId).Children();
  const automation::HostFolder mailbox = folder.CreateMailbox(safeName, made.errorText);
  made.path = mailbox.Path();
  made.name = mailbox.Name();
  // Counting its messages has the host write the new mailbox's table of contents, from which
  // the newsbox list reads its counts.
  (void)mailbox.Messages().Count();
  if (!made.Made() && made.errorText.empty()) made.errorText = kMailboxNotMadeText;
  return made;
}

}  // namespace tarnwick::mailbox
