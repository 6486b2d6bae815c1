#pragma once

#include "core/mail_store.h"
#include "support/temp_dir.h"

#include <memory>
#include <string>
#include <vector>

namespace tarnwick::host::test {

/// A message in the layout plug-ins append to mailbox files: separator, headers, empty line,
/// "<x-html>" body "</x-html>", CR LF line ends.
std::string ArticleMessage(const std::string& subject, const std::string& messageId, const std::string& body);

/// Writes bytes to a path below `folder`, creating the folders on the way.
void WriteBelow(const std::string& folder, const std::string& relativePath, const std::string& bytes);

/// Opens a store and fails the test (returning null) when that does not work.
std::unique_ptr<MailStore> OpenStore(const std::string& folder);

/// The subjects of a mailbox's messages in order.
std::vector<std::string> Subjects(MailStore& store, int32_t mailboxId);

/// Runs a shell command, collecting its standard output; gives its exit code (-1 when it could
/// not run or was killed).
int RunShell(const std::string& command, std::string& output);

/// The text quoted for a shell command line.
std::string ShellQuote(const std::string& text);

/// The file holding the test fixtures of the host.
std::string FixturePath(const std::string& name);

/// What a run of the host's command line printed and returned.
struct CommandResult {
  int code;
  std::string out;
  std::string err;
};

/// Runs the host's command line in this process with `arguments`.
CommandResult Command(std::vector<std::string> arguments);

}  // namespace tarnwick::host::test
