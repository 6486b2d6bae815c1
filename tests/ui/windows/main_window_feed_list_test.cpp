// The main window's feed menu with real input: an OPML list imported into both lists, with the
// newsbox made by the host and the imported feed delivering there on its first check, and the
// feeds exported.
#include "main_window_fixture.h"

#include "opml/opml_reader.h"
#include "ui/feed_list_files.h"
#include "ui/main_window_texts.h"

#include <algorithm>
#include <chrono>

namespace tarnwick::test {
namespace {

using namespace std::chrono_literals;

class MainWindowFeedListTest : public MainWindowFixture {
protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    previousChooser_ = ui::SetFeedListFileChooser(
        [this](ui::FeedListFileUse use) { return use == ui::FeedListFileUse::kImport ? importPath : exportPath; });
  }
  void TearDown() override {
    ui::SetFeedListFileChooser(previousChooser_);
    MainWindowFixture::TearDown();
  }

  std::vector<std::string> Rows(ui::MainWindow& window, int listId) {
    auto& list = *Child<wxListCtrl>(window, listId);
    std::vector<std::string> rows;
    for (long row = 0; row < list.GetItemCount(); ++row) rows.push_back(list.GetItemText(row).utf8_string());
    return rows;
  }

  std::string importPath = data_.File("import.opml");
  std::string exportPath = data_.File("export.opml");

private:
  ui::FeedListFileChooser previousChooser_;
};

TEST_F(MainWindowFeedListTest, ImportFillsBothListsAndTheNewFeedDeliversIntoItsNewMailbox) {
  const store::FeedSettings alpha = AddFeed("alpha", 1, "Tech");
  server.AddEndpoint("/beta.xml", 200, RssItems("beta", 2));
  WriteFileBytes(importPath,
                 "<opml version=\"1.0\"><body><outline text=\"World\">"
                 "<outline text=\"beta\" type=\"rss\" xmlUrl=\"" +
                     server.Url("/beta.xml") +
                     "\"/>"
                     "<outline text=\"again\" xmlUrl=\"" +
                     alpha.url + "\"/></outline></body></opml>");
  ui::MainWindow window(nullptr, Setup(), Factory(), nullptr);
  std::vector<std::string> feeds, newsboxes, boxesAfterImport;
  WhenMainWindowRuns([&](ui::MainWindow& running) {
    auto& feedList = *Child<wxListCtrl>(running, ui::kFeedListId);
    ClickRow(feedList, 0);
    ChooseFromNextMenu('i');
    wxUIActionSimulator().Char(WXK_F10, wxMOD_SHIFT);
    RunEventsFor(800ms);
    feeds = Rows(running, ui::kFeedListId);
    newsboxes = Rows(running, ui::kNewsboxListId);
    boxesAfterImport = messageBoxes_;

    ChooseFromNextMenu('e');
    wxUIActionSimulator().Char(WXK_F10, wxMOD_SHIFT);
    RunEventsFor(800ms);

    ClickRow(feedList, 1);  // beta
    wxWindow* download = running.FindWindow(ui::kDownloadId);
    wxUIActionSimulator input;
    input.MouseMove(download->GetScreenRect().GetPosition() + download->GetSize() / 2);
    input.MouseClick();
  });
  window.RunModally();

  EXPECT_EQ(feeds, (std::vector<std::string>{"alpha", "beta"}));
  ASSERT_EQ(newsboxes.size(), 2u);
  EXPECT_EQ(newsboxes[1], "World (0/0)") << "the counts of the newsbox the import made, at once";
  ASSERT_EQ(boxesAfterImport.size(), 1u);
  EXPECT_NE(boxesAfterImport[0].find("Added \"beta\""), std::string::npos) << boxesAfterImport[0];
  EXPECT_NE(boxesAfterImport[0].find("Skipped \"again\""), std::string::npos) << boxesAfterImport[0];

  const opml::OpmlReadResult exported = opml::ReadOpmlFile(exportPath);
  ASSERT_TRUE(exported.ok) << exported.error;
  ASSERT_EQ(exported.entries.size(), 2u);
  EXPECT_EQ(exported.entries[1].url, server.Url("/beta.xml"));
  EXPECT_EQ(exported.entries[1].folder, "World");

  EXPECT_EQ(CountMessages("World"), 2);  // the first check of the imported feed
}

}  // namespace
}  // namespace tarnwick::test
