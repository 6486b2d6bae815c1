#include "host_test_support.h"

#include "cli/command_line.h"

#include "support/shell_command.h"
#include "support/shell_pipe.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace tarnwick::host::test {

std::string ArticleMessage(const std::string& subject, const std::string& messageId, const std::string& body) {
  return "From ???@??? Tue Jun 3 04:05:09 2003\r\n"
         "Subject: " +
         subject +
         "\r\n"
         "From: Writer\r\n"
         "Date: 06/03/2003 04:00:00\r\n"
         "Message-Id: " +
         messageId +
         "\r\n"
         "Feed: Daily\r\n"
         "MIME-Version: 1.0\r\n"
         "Content-Type: text/html\r\n"
         "\r\n"
         "<x-html>" +
         body + "</x-html>\r\n";
}

void WriteBelow(const std::string& folder, const std::string& relativePath, const std::string& bytes) {
  std::filesystem::path path = std::filesystem::path(folder) / relativePath;
  std::filesystem::create_directories(path.parent_path());
  tarnwick::test::WriteFileBytes(path.string(), bytes);
}

std::unique_ptr<MailStore> OpenStore(const std::string& folder) {
  std::string errorText;
  std::unique_ptr<MailStore> store = MailStore::Open(folder, errorText);
  EXPECT_TRUE(store) << errorText;
  return store;
}

std::vector<std::string> Subjects(MailStore& store, int32_t mailboxId) {
  std::vector<MessageInfo> messages;
  StoreStatus status = store.ListMessages(mailboxId, messages);
  EXPECT_TRUE(status.ok) << status.errorText;
  std::vector<std::string> subjects;
  for (const MessageInfo& message : messages) subjects.push_back(message.summary.subject);
  return subjects;
}

int RunShell(const std::string& command, std::string& output) {
  output.clear();
  FILE* pipe = tarnwick::test::OpenShellPipe(command);
  if (pipe == nullptr) return -1;
  char buffer[4096];
  size_t got = 0;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  return tarnwick::test::CloseShellPipe(pipe);
}

std::string ShellQuote(const std::string& text) {
  return tarnwick::test::Quote(text);
}

std::string FixturePath(const std::string& name) {
  return std::string(TARNWICK_HOST_TEST_DATA) + "/" + name;
}

CommandResult Command(std::vector<std::string> arguments) {
  std::ostringstream out, err;
  int code = RunCommandLine(arguments, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace tarnwick::host::test
