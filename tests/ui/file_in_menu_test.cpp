// Which of the host's mailboxes the article viewer's File menu offers, and with which commands.
#include "ui/file_in_menu.h"

#include <gtest/gtest.h>

namespace tarnwick::ui {
namespace {

using mailbox::kEntryFolder;
using mailbox::kEntryMailbox;
using mailbox::MailboxEntry;
using mailbox::MailboxTreeNode;

std::string Outline(const std::vector<MailboxTreeNode>& nodes) {
  std::string text;
  for (const MailboxTreeNode& node : nodes) {
    text += node.entry.name;
    if (node.entry.kind == kEntryFolder) text += "[" + Outline(node.children) + "]";
    text += " ";
  }
  return text;
}

TEST(FileInMenuMailboxes, OffersTheHostsMailboxesInItsOrderLeavingOutWhatIsNeverAFilingTarget) {
  const mailbox::MailboxList host = {
      {"In", "/d/In.mbx", 2, kEntryMailbox, 0},
      {"Outgoing", "/d/OUT.MBX", 3, kEntryMailbox, 0},  // the host's "Out" by its path, whatever it is called
      {"trash", "/d/Trash.mbx", 4, kEntryMailbox, 0},
      {"Zeta", "/d/Zeta.mbx", 5, kEntryMailbox, 0},
      {"News", "/d/News.fol", 6, kEntryFolder, 0},
      {"World", "/d/News.fol/World.mbx", 7, kEntryMailbox, 0},
      {"PENDING", "/d/News.fol/Pending.mbx", 8, kEntryMailbox, 0},
      {"Alpha", "/d/Alpha.mbx", 9, kEntryMailbox, 0},
      {"Pending", "/d/Pending.fol", 10, kEntryFolder, 0},
      {"Inside", "/d/Pending.fol/Inside.mbx", 11, kEntryMailbox, 0},
      {"Out", "/d/Other.fol", 12, kEntryFolder, 0},
  };
  EXPECT_EQ(Outline(FileInMenuMailboxes(host, {"/d", "/d/in.mbx", "/d/Out.mbx"})), "Zeta News[World ] Alpha ");
}

TEST(FileInCommandOf, OnlyIdsACommandCanCarryFileAnything) {
  EXPECT_EQ(FileInCommandOf(2), 0) << "command 2 closes the viewer";
  EXPECT_EQ(FileInCommandOf(3), 3);
  EXPECT_EQ(FileInCommandOf(1000), 1000);
  EXPECT_EQ(FileInCommandOf(1001), 0) << "listed, but choosing it does nothing";
}

}  // namespace
}  // namespace tarnwick::ui
