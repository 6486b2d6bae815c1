#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tarnwick::host {

class HostCore;

/// Exit codes of the command line.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
/// Another host kept the data folder locked for longer than the wait.
inline constexpr int kExitBusy = 3;

/// Runs the host's windows on an open host until they close; gives the exit code. The program
/// passes one; a command line without it (tests, tools) fails the verb "gui" with a clear text.
using GuiRunner = std::function<int(HostCore& core, const std::string& pluginsFolder, std::ostream& err)>;

/// Shows a text to someone who started the windows and is not reading standard error (a message
/// box); returns once it has been seen.
using GuiNotice = std::function<void(const std::string& text)>;

/// Runs the host's command line: options, then a verb and its arguments (the program name not
/// included). Without a verb, a data folder opens the windows (the verb "gui"), and no data folder
/// shows the usage. Output goes to `out`, messages to `err`; returns the exit code. Never throws.
/// When the windows are to open on a data folder that another host holds, `notice` tells so too,
/// before the wait and when it gives up.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                   const GuiRunner& gui = {}, const GuiNotice& notice = {});

}  // namespace tarnwick::host
