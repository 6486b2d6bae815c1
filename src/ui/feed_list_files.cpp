#include "ui/feed_list_files.h"

#include "ui/main_window_texts.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

namespace tarnwick::ui {
namespace {

FeedListFileChooser& InstalledChooser() {
  static FeedListFileChooser chooser;
  return chooser;
}

}  // namespace

std::string ChooseFeedListFile(wxWindow* parent, FeedListFileUse use) {
  if (InstalledChooser()) return InstalledChooser()(use);
  const bool importing = use == FeedListFileUse::kImport;
  wxFileDialog dialog(parent, wxString::FromUTF8(importing ? kImportFeedsTitle : kExportFeedsTitle), wxEmptyString,
                      importing ? wxString() : wxString(kExportFileName), kFeedListWildcard,
                      importing ? wxFD_OPEN | wxFD_FILE_MUST_EXIST : wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return {};
  wxString path = dialog.GetPath();
  // A name typed without extension for the export takes the list's.
  if (!importing && wxFileName(path).GetExt().empty()) path += kExportExtension;
  return path.utf8_string();
}

FeedListFileChooser SetFeedListFileChooser(FeedListFileChooser chooser) {
  FeedListFileChooser previous = std::move(InstalledChooser());
  InstalledChooser() = std::move(chooser);
  return previous;
}

}  // namespace tarnwick::ui
