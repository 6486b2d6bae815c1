// The main window's feed menu: the feed list imported from and exported to OPML files.
#include "opml/newsbox_maker.h"
#include "opml/opml_import.h"
#include "opml/opml_writer.h"
#include "platform/message_box.h"
#include "store/settings_store.h"
#include "ui/feed_list_files.h"
#include "ui/main_window.h"

#include "ui/main_window_texts.h"
#include "ui/network_options_dialog.h"

#include <wx/listctrl.h>
#include <wx/menu.h>

namespace tarnwick::ui {

void MainWindow::OnFeedMenu(wxPoint position) {
  if (runActive_) return;
  wxMenu menu;
  menu.Append(kImportFeedsCommand, kImportFeedsCommandText);
  menu.Append(kExportFeedsCommand, kExportFeedsCommandText);
  menu.AppendSeparator();
  menu.Append(kSelectAllFeedsCommand, kSelectAllFeedsCommandText);
  PopupMenu(&menu, position == wxDefaultPosition ? feedList_->GetPosition() : position);
}

void MainWindow::OnSelectAllFeeds() {
  for (long row = 0; row < feedList_->GetItemCount(); ++row) {
    feedList_->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  }
  ApplyFeedSelection();
}

void MainWindow::OnNetworkOptions() {
  (void)ShowNetworkOptions(this, setup_.files.settingsPath);
}

void MainWindow::OnImportFeeds() {
  const std::string path = ChooseFeedListFile(this, FeedListFileUse::kImport);
  if (path.empty()) return;
  // Inside the host, the newsboxes an import needs are made by the host itself.
  opml::HostNewsboxMaker newsboxes(setup_.files.hostDataFolder);
  const opml::ImportReport report =
      opml::ImportOpmlFile(path, store::SettingsStore(setup_.files.settingsPath), newsboxes);
  if (!report.added.empty()) {
    const std::vector<std::string> selected = SelectedAliases();
    for (const store::FeedSettings& feed : report.added) {
      model_.AddFeed(feed);
      model_.AddNewsbox(feed.newsbox, feed.newsboxPath);
    }
    FillNewsboxList();
    FillFeedList(selected);
    ApplyFeedSelection();
  }
  platform::ShowMessageBox(report.Text(), setup_.files.productName);
}

void MainWindow::OnExportFeeds() {
  const std::string path = ChooseFeedListFile(this, FeedListFileUse::kExport);
  if (path.empty()) return;
  const std::string problem = opml::ExportOpmlFile(store::SettingsStore(setup_.files.settingsPath), path);
  if (!problem.empty()) {
    platform::ShowMessageBox(problem, setup_.files.productName);
    return;
  }
  ShowGeneralStatus(kFeedsExportedPrefix + path);
}

}  // namespace tarnwick::ui
