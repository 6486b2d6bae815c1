#pragma once

// The texts of tarnwick-feeds.

namespace tarnwick::tools {

inline constexpr char kProgramName[] = "tarnwick-feeds";
inline constexpr char kUsage[] =
    "usage: tarnwick-feeds --settings FILE [list]\n"
    "       tarnwick-feeds --settings FILE [--data-folder DIR] import LIST.opml\n"
    "       tarnwick-feeds --settings FILE export [OUT.opml]\n"
    "       tarnwick-feeds FILE                (the same as list)\n"
    "list: every feed of the settings file as the main window lists it.\n"
    "import: adds the feeds of an OPML file; each newsbox is a mailbox of the host's data folder\n"
    "        (by default the folder above the settings file's \"plugins\" folder), made when missing.\n"
    "export: writes every feed as OPML 2.0 to OUT.opml, or to standard output.\n";
inline constexpr char kNoDataFolder[] =
    "import needs the host's data folder, to make the newsboxes in: give it with --data-folder DIR";
inline constexpr char kMissingDataFolderPrefix[] = "the data folder does not exist: ";

}  // namespace tarnwick::tools
