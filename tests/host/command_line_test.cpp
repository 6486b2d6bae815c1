// The command line, in process for its output and through the real program for its exit codes.
#include "cli/command_line.h"
#include "core/host_core.h"
#include "host_test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tarnwick::host {
namespace {

using tarnwick::test::ReadFileBytes;
using tarnwick::test::TempDir;
using test::ArticleMessage;
using test::Command;
using test::CommandResult;
using test::RunShell;
using test::ShellQuote;
using test::WriteBelow;

TEST(CommandLine, MailboxesListsTreeOrderWithIdsAndCounts) {
  TempDir dir;
  WriteBelow(dir.Path(), "News.fol/Tech.mbx", ArticleMessage("a", "<a>", "1") + ArticleMessage("b", "<b>", "2"));
  WriteBelow(dir.Path(), "News.fol/World.mbx", ArticleMessage("c", "<c>", "3"));
  ASSERT_EQ(Command({"--data-folder", dir.Path(), "left-out", "News.fol/World.mbx", "yes"}).code, kExitSuccess);
  CommandResult run = Command({"--data-folder", dir.Path(), "mailboxes"});
  EXPECT_EQ(run.code, kExitSuccess) << run.err;
  EXPECT_EQ(run.out,
            "In.mbx\t2\t0\t0\n"
            "Out.mbx\t3\t0\t0\n"
            "Trash.mbx\t4\t0\t0\n"
            "News.fol\t5\t3\t3\n"
            "News.fol/Tech.mbx\t6\t2\t2\n"
            "News.fol/World.mbx\t7\t1\t1\tleft-out\n");
}

TEST(CommandLine, MessagesAndShowFindMailboxesByNameOrPath) {
  TempDir dir;
  WriteBelow(dir.Path(), "News.fol/Tech.mbx", ReadFileBytes(test::FixturePath("three_articles.mbx")));
  CommandResult byPath = Command({"--data-folder=" + dir.Path(), "messages", "News.fol/Tech.mbx"});
  CommandResult byName = Command({"--data-folder", dir.Path(), "messages", "Tech"});
  EXPECT_EQ(byPath.code, kExitSuccess) << byPath.err;
  EXPECT_EQ(byPath.out, byName.out);
  EXPECT_EQ(byPath.out,
            "1\tunread\tFirst article\tAnn Writer\t06/03/2003 04:00:00\n"
            "2\tunread\t\tUnknown\t06/03/2003 05:00:00\n"
            "3\tunread\tThird article\tBo Writer\t06/03/2003 06:00:00\n");
  CommandResult shown = Command({"--data-folder", dir.Path(), "show", "Tech", "2"});
  EXPECT_EQ(shown.code, kExitSuccess);
  EXPECT_TRUE(shown.out.starts_with("From ???@??? Tue Jun 3 04:05:09 2003\r\nSubject: \r\nFrom: Unknown\r\n"));
  EXPECT_TRUE(shown.out.ends_with(">>From quoted twice</x-html>\r\n")) << "as stored, still escaped";
}

TEST(CommandLine, CreateMoveAndErrorsSayWhatIsWrong) {
  TempDir dir;
  CommandResult created = Command({"--data-folder", dir.Path(), "create-mailbox", "Tech News"});
  EXPECT_EQ(created.code, kExitSuccess) << created.err;
  EXPECT_EQ(created.out, "Tech News.mbx\t5\n");
  CommandResult again = Command({"--data-folder", dir.Path(), "create-mailbox", "Tech News"});
  EXPECT_EQ(again.code, kExitFailure);
  EXPECT_NE(again.err.find("exists already"), std::string::npos);
  EXPECT_EQ(Command({"--data-folder", dir.Path(), "create-mailbox", "a/b"}).code, kExitFailure);

  WriteBelow(dir.Path(), "Pending.mbx", ArticleMessage("moved", "<m>", "x"));
  CommandResult moved = Command({"--data-folder", dir.Path(), "move", "Pending", "1", "Tech News"});
  EXPECT_EQ(moved.code, kExitSuccess) << moved.err;
  EXPECT_EQ(moved.out, "1\n");
  EXPECT_EQ(ReadFileBytes(dir.File("Pending.mbx")), "");

  CommandResult unknown = Command({"--data-folder", dir.Path(), "messages", "Nope"});
  EXPECT_EQ(unknown.code, kExitFailure);
  EXPECT_NE(unknown.err.find("no mailbox \"Nope\""), std::string::npos) << unknown.err;
  CommandResult badId = Command({"--data-folder", dir.Path(), "show", "In", "x1"});
  EXPECT_EQ(badId.code, kExitFailure);
  EXPECT_NE(badId.err.find("not a message id"), std::string::npos);
  CommandResult noMessage = Command({"--data-folder", dir.Path(), "show", "In", "9"});
  EXPECT_EQ(noMessage.code, kExitFailure);
  EXPECT_NE(noMessage.err.find("no message 9 in In"), std::string::npos) << noMessage.err;
  CommandResult missing = Command({"--data-folder", dir.File("absent"), "mailboxes"});
  EXPECT_EQ(missing.code, kExitFailure);
  EXPECT_NE(missing.err.find("does not exist"), std::string::npos);
}

TEST(CommandLine, UnreadableMailboxIsReportedAndTheListingGoesOn) {
  TempDir dir;
  if (!tarnwick::test::MakeSymbolicLink(dir.File("gone"), dir.File("Broken.mbx"))) {
    GTEST_SKIP() << tarnwick::test::kNoSymbolicLinksReason;
  }
  CommandResult run = Command({"--data-folder", dir.Path(), "mailboxes"});
  EXPECT_EQ(run.code, kExitFailure);
  EXPECT_NE(run.out.find("Broken.mbx\t5\t-1\t-1\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Trash.mbx\t4\t0\t0\n"), std::string::npos);
  EXPECT_NE(run.err.find("Broken.mbx cannot be read"), std::string::npos) << run.err;
  EXPECT_EQ(Command({"--data-folder", dir.Path(), "messages", "Broken"}).code, kExitFailure);
}

TEST(CommandLine, UsageErrorsAndHelp) {
  CommandResult help = Command({"--help"});
  EXPECT_EQ(help.code, kExitSuccess);
  for (const char* verb : {"gui", "mailboxes", "messages MAILBOX", "show MAILBOX ID", "create-mailbox NAME"}) {
    EXPECT_NE(help.out.find(verb), std::string::npos) << verb;
  }
  EXPECT_EQ(Command({}).out, help.out);
  EXPECT_EQ(Command({"mailboxes"}).code, kExitUsage) << "no data folder";
  EXPECT_EQ(Command({"--data-folder"}).code, kExitUsage);
  EXPECT_EQ(Command({"--frobnicate", "mailboxes"}).code, kExitUsage);
  CommandResult unknown = Command({"--data-folder", "/tmp", "frobnicate"});
  EXPECT_EQ(unknown.code, kExitUsage);
  EXPECT_NE(unknown.err.find("unknown verb frobnicate"), std::string::npos);
  EXPECT_EQ(Command({"--data-folder", "/tmp", "show", "In"}).code, kExitUsage);
}

TEST(CommandLine, ADataFolderWithoutAVerbOpensTheWindows) {
  TempDir dir;
  int runs = 0;
  std::string pluginsFolder;
  GuiRunner gui = [&](HostCore& core, const std::string& folder, std::ostream&) {
    ++runs;
    pluginsFolder = folder;
    EXPECT_EQ(core.Store().FindMailbox("In"), kInMailboxId);
    return 7;
  };
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine({"--data-folder", dir.Path()}, out, err, gui), 7) << "the windows' exit code";
  EXPECT_EQ(pluginsFolder, dir.Path() + "/plugins");
  EXPECT_EQ(RunCommandLine({"--data-folder", dir.Path(), "--plugins-folder", "/p", "gui"}, out, err, gui), 7);
  EXPECT_EQ(pluginsFolder, "/p");
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(RunCommandLine({}, out, err, gui), kExitSuccess) << "no data folder: the usage";
  EXPECT_EQ(RunCommandLine({"--data-folder", "/nonexistent/x"}, out, err, gui), kExitFailure);
  EXPECT_EQ(RunCommandLine({"--data-folder", dir.Path(), "gui", "extra"}, out, err, gui), kExitUsage);
  EXPECT_EQ(runs, 2);

  CommandResult without = Command({"--data-folder", dir.Path()});
  EXPECT_EQ(without.code, kExitFailure);
  EXPECT_NE(without.err.find("built without windows"), std::string::npos) << without.err;
}

TEST(CommandLine, AutomationSwitchIsKeptInTheHostSettings) {
  TempDir dir;
  EXPECT_EQ(Command({"--data-folder", dir.Path(), "automation"}).out, "automation on\n");
  EXPECT_EQ(Command({"--data-folder", dir.Path(), "automation", "off"}).out, "automation off\n");
  EXPECT_NE(ReadFileBytes(dir.File("host.ini")).find("Enabled=0"), std::string::npos);
  EXPECT_EQ(Command({"--data-folder", dir.Path(), "automation"}).out, "automation off\n");
  EXPECT_EQ(Command({"--data-folder", dir.Path(), "automation", "maybe"}).code, kExitFailure);
}

TEST(CommandLine, TheProgramItselfGivesTheSameOutputAndExitCodes) {
  TempDir dir;
  WriteBelow(dir.Path(), "Box.mbx", ArticleMessage("via program", "<p>", "x"));
  std::string program = ShellQuote(TARNWICK_HOST_PROGRAM) + " --data-folder " + ShellQuote(dir.Path());
  std::string output;
  EXPECT_EQ(RunShell(program + " messages Box", output), 0);
  EXPECT_EQ(output, "1\tunread\tvia program\tWriter\t06/03/2003 04:00:00\n");
  EXPECT_EQ(RunShell(program + " messages Nope", output), 1);
  EXPECT_EQ(RunShell(program + " nonsense", output), 2);
  EXPECT_EQ(RunShell(ShellQuote(TARNWICK_HOST_PROGRAM) + " --data-folder /nonexistent/x mailboxes 2>&1", output), 1);
  EXPECT_NE(output.find("The data folder /nonexistent/x does not exist."), std::string::npos) << output;
}

}  // namespace
}  // namespace tarnwick::host
