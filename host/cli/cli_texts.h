#pragma once

namespace tarnwick::host {

// Every text of the command line.

inline constexpr char kProgramName[] = "tarnwick-host";
inline constexpr char kGuiVerbName[] = "gui";
/// Said when the windows' library cannot be loaded; the reason follows.
inline constexpr char kWindowsNotLoadedText[] = "the windows cannot be opened: ";
inline constexpr char kUsageHead[] =
    "Usage: tarnwick-host [--data-folder DIR] [--plugins-folder DIR] [--no-automation] [--lock-wait SECONDS]\n"
    "                     [VERB [ARGUMENTS...]]\n"
    "\n"
    "The stand-in mail client: a data folder of mailboxes (Name.mbx with its table of contents\n"
    "Name.toc, folders Name.fol), served to plug-ins through its automation interface.\n"
    "With a data folder and no verb, its windows open (the verb gui).\n"
    "\n"
    "Options:\n"
    "  --data-folder DIR   the data folder (it must exist; In, Out and Trash are created in it)\n"
    "  --plugins-folder DIR  the plug-in modules (default: the data folder's \"plugins\" folder)\n"
    "  --no-automation     refuse plug-ins' connections to the automation server\n"
    "  --lock-wait SECONDS  how long to wait while another tarnwick-host uses the data folder\n"
    "                      (default %s; each host has the data folder to itself)\n"
    "  --help              show this text\n"
    "\n"
    "Verbs (MAILBOX is a display name, or a path from the data folder such as News.fol/Tech.mbx):\n";
inline constexpr char kUsageTail[] =
    "\n"
    "Exit status: 0 on success, 1 when the verb failed, 2 for a wrong command line, 3 when another\n"
    "tarnwick-host kept the data folder for longer than the wait. The feed verbs (check, tick, add,\n"
    "remove, feeds): 0 when every feed was checked (or the change made), 1 when some feed failed (or\n"
    "the change was refused), 2 also when the data folder, the plug-in or a named feed is missing.\n";

inline constexpr char kNoDataFolderText[] = "no data folder given: use --data-folder DIR";
inline constexpr char kUnknownOptionText[] = "unknown option ";
inline constexpr char kBadLockWaitText[] = "--lock-wait takes a whole number of seconds up to 86400, not \"%s\"";
inline constexpr char kWaitingForLockText[] =
    "the data folder %s is in use by another tarnwick-host%s; waiting up to %s seconds for it to finish";
inline constexpr char kLockBusyText[] =
    "the data folder %s is still in use by another tarnwick-host%s after %s seconds; giving up, nothing was done";
inline constexpr char kLockHolderText[] = " (process %s)";
inline constexpr char kUnknownVerbText[] = "unknown verb ";
inline constexpr char kWrongArgumentCountText[] = "wrong number of arguments; usage: tarnwick-host ";
inline constexpr char kMissingValueText[] = "missing value after ";
inline constexpr char kSeeHelpText[] = "Try 'tarnwick-host --help'.";
inline constexpr char kNoSuchMailboxText[] = "no mailbox \"%s\" in %s";
inline constexpr char kNoSuchMailboxOrFolderText[] = "no mailbox or folder \"%s\" in %s";
inline constexpr char kBadMessageIdText[] = "\"%s\" is not a message id";
inline constexpr char kNoSuchMessageText[] = "no message %s in %s";
inline constexpr char kExistsText[] = "a mailbox named \"%s\" exists already";
inline constexpr char kYesOrNoText[] = "expected yes or no, not \"%s\"";
inline constexpr char kOnOrOffText[] = "expected on or off, not \"%s\"";
inline constexpr char kLeftOutMark[] = "left-out";
inline constexpr char kAutomationStateOnText[] = "automation on";
inline constexpr char kAutomationStateOffText[] = "automation off";
inline constexpr char kUnexpectedFailureText[] = "unexpected failure: ";
inline constexpr char kPluginSkippedText[] = "plug-in skipped: ";
inline constexpr char kNoPluginsText[] = "no plug-ins in %s";
inline constexpr char kNoCheckingPluginText[] = "no plug-in in %s can check feeds";
inline constexpr char kAddArgumentsText[] = "ALIAS URL [--newsbox NAME] [--first N]";
inline constexpr char kFirstOption[] = "--first";
inline constexpr char kFirstOptionText[] = "--first takes a whole number from 1 up, not \"%s\"";
inline constexpr char kNewsboxOption[] = "--newsbox";
inline constexpr char kNewsboxOptionText[] = "the newsbox needs a name: --newsbox NAME";
inline constexpr char kNewsboxTwiceText[] = "the newsbox is named twice: \"%s\" and --newsbox \"%s\"";
inline constexpr char kQuietOption[] = "--quiet";
inline constexpr char kDescriptionLabel[] = "description: ";
inline constexpr char kSpecialMenuLabel[] = "Special menu: ";
inline constexpr char kTranslatorLabel[] = "translator: ";
inline constexpr char kStatusBarPrefix[] = "[status bar] ";
inline constexpr char kNoWindowsText[] = "this program was built without windows; use one of the other verbs";

}  // namespace tarnwick::host
