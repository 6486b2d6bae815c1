// Mailboxes written by the host read the same in a standard mbox reader: Python's mailbox module
// finds every message, with its subject, and no body line splits a message.
#include "core/host_core.h"
#include "core/mail_store.h"
#include "host_test_support.h"

#include "support/environment.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tarnwick::host {
namespace {

using tarnwick::test::TempDir;
using tarnwick::test::WriteFileBytes;
using test::ArticleMessage;
using test::RunShell;
using test::ShellQuote;

constexpr char kReader[] =
    "import mailbox, sys\n"
    "from email.header import decode_header\n"
    "box = mailbox.mbox(sys.argv[1], create=False)\n"
    "for message in box:\n"
    "    parts = decode_header(message['Subject'] or '')\n"
    "    subject = ''.join(p.decode('utf-8') if isinstance(p, bytes) else p for p, c in parts)\n"
    "    print(subject, message.get_payload().count('From '), sep='|')\n";

// One line per message: the subject, and how many "From " the body holds as Python sees it.
std::vector<std::string> ReadWithPython(const std::string& mailboxPath, const std::string& scriptPath) {
  std::string python = TARNWICK_PYTHON3;
  if (python.empty() || python.ends_with("NOTFOUND")) return {"python3 was not found when the tests were built"};
  std::string output;
  tarnwick::test::SetEnvironment("PYTHONIOENCODING", "utf-8");
  int code = RunShell(ShellQuote(python) + " " + ShellQuote(scriptPath) + " " + ShellQuote(mailboxPath), output);
  EXPECT_EQ(code, 0) << output;
  std::vector<std::string> lines;
  std::istringstream stream(output);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

TEST(PythonMailbox, ReadsEveryMessageTheHostWroteWithItsSubject) {
  if (std::string(TARNWICK_PYTHON3).empty())
    GTEST_SKIP() << "no Python for this system was found when the tests were built";
  TempDir dir;
  WriteFileBytes(dir.File("reader.py"), kReader);
  std::string errorText;
  std::shared_ptr<HostCore> core = HostCore::Open(dir.Path(), {}, errorText);
  ASSERT_TRUE(core) << errorText;
  MailStore& store = core->Store();
  int32_t pending = 0, news = 0;
  ASSERT_TRUE(store.Create(0, "Pending", true, &pending, nullptr).ok);
  ASSERT_TRUE(store.Create(0, "News", true, &news, nullptr).ok);

  // Articles staged the way a plug-in stages them, bodies escaped, then moved by the host.
  std::string tricky = "<p>Hi</p>\r\n>From the desk of the editor\r\n>>From two deep";
  ASSERT_TRUE(store.AddMessage(pending, ArticleMessage("First", "<1@x>", "<p>one</p>"), 0, nullptr).ok);
  ASSERT_TRUE(store.AddMessage(pending, ArticleMessage("Second", "<2@x>", tricky), 0, nullptr).ok);
  ASSERT_TRUE(store.AddMessage(pending, ArticleMessage("Caf\xc3\xa9", "<3@x>", "three"), 0, nullptr).ok);
  std::vector<MessageInfo> staged;
  ASSERT_TRUE(store.ListMessages(pending, staged).ok);
  for (auto it = staged.rbegin(); it != staged.rend(); ++it) {
    ASSERT_TRUE(store.MoveMessage(pending, it->id, news, nullptr).ok);
  }
  // A message the host writes itself, whose body has a line that would split it if not escaped.
  OutgoingMessage outgoing;
  outgoing.subject = "Forwarded (fwd)";
  outgoing.body = "--- begin\r\nFrom here on it is quoted\r\n--- end";
  ASSERT_TRUE(core->QueueMessage(outgoing, nullptr).ok);
  ASSERT_TRUE(core->QueueMessage(OutgoingMessage{"", "Plain", "", "", "/tmp/a.nws", "Attached."}, nullptr).ok);

  EXPECT_EQ(ReadWithPython(dir.File("News.mbx"), dir.File("reader.py")),
            (std::vector<std::string>{"Caf\xc3\xa9|0", "Second|2", "First|0"}));
  EXPECT_EQ(ReadWithPython(dir.File("Out.mbx"), dir.File("reader.py")),
            (std::vector<std::string>{"Forwarded (fwd)|1", "Plain|0"}));
  EXPECT_EQ(ReadWithPython(dir.File("Pending.mbx"), dir.File("reader.py")), (std::vector<std::string>{}));
}

}  // namespace
}  // namespace tarnwick::host
