#pragma once

#include <functional>
#include <string>

class wxWindow;

namespace tarnwick::ui {

/// What the user picks a feed list file for.
enum class FeedListFileUse { kImport, kExport };

/// Asks the user for the OPML file to import from, or to export to (confirming the replacement of
/// an existing file); empty when the user cancelled. Call on the UI thread.
std::string ChooseFeedListFile(wxWindow* parent, FeedListFileUse use);

/// What picks the file instead of the file dialogs (tests install one); empty restores the
/// dialogs. Returns the one it replaced.
using FeedListFileChooser = std::function<std::string(FeedListFileUse use)>;
FeedListFileChooser SetFeedListFileChooser(FeedListFileChooser chooser);

}  // namespace tarnwick::ui
