// tarnwick-feeds as a user runs it beside tarnwick-host: an OPML list imported while no host runs,
// checked by the host into the newsboxes the import made, and exported again.
#include "platform/dynamic_library.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "support/shell_command.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tarnwick {
namespace {

using test::Quote;
using test::RunCommand;

std::string Rss(const std::string& id) {
  return "<rss version=\"2.0\"><channel><title>T</title><item><title>" + id + " item</title><link>http://example.org/" +
         id + "</link><guid>" + id +
         "</guid><pubDate>Mon, 30 Nov 2026 09:00:00 GMT</pubDate>"
         "<description>b</description></item></channel></rss>";
}

class FeedListEndToEnd : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(plugins);
    std::filesystem::copy_file(TARNWICK_MODULE_FILE, plugins + "/" + platform::ModuleFileName("tarnwick"));
  }
  int Feeds(const std::string& arguments, std::string& output) {
    return RunCommand(Quote(TARNWICK_FEEDS_FILE) + " --settings " + Quote(plugins + "/tarnwick.ini") + " " + arguments,
                      output);
  }

  test::TempDir dir;
  std::string data = dir.Path();
  std::string plugins = dir.File("plugins");
  test::HttpServer server;
};

TEST_F(FeedListEndToEnd, ImportedFeedsDeliverIntoTheirNewNewsboxesOnTheirFirstCheck) {
  server.AddEndpoint("/a.xml", 200, Rss("a"));
  server.AddEndpoint("/b.xml", 200, Rss("b"));
  test::WriteFileBytes(dir.File("list.opml"),
                       "<?xml version=\"1.0\"?><opml version=\"2.0\"><head/><body><outline text=\"Science\">"
                       "<outline text=\"Alpha\" type=\"rss\" xmlUrl=\"" +
                           server.Url("/a.xml") +
                           "\"/></outline>"
                           "<outline text=\"Beta\" xmlUrl=\"" +
                           server.Url("/b.xml") + "\"/></body></opml>");
  // Run from the data folder with a relative settings path: the newsboxes are still stored by
  // their full paths, which the host, working elsewhere, finds them by.
  std::string output;
  ASSERT_EQ(
      RunCommand(test::InFolder(data, Quote(TARNWICK_FEEDS_FILE) + " --settings plugins/tarnwick.ini import list.opml"),
                 output),
      0)
      << output;
  EXPECT_NE(output.find("2 feed(s) added, 0 skipped."), std::string::npos) << output;

  ASSERT_EQ(RunCommand(Quote(TARNWICK_HOST_FILE) + " --data-folder " + Quote(data) + " check", output), 0) << output;
  EXPECT_NE(test::ReadFileBytes(data + "/Science.mbx").find("Subject: a item\r\n"), std::string::npos);
  EXPECT_NE(test::ReadFileBytes(data + "/Beta.mbx").find("Subject: b item\r\n"), std::string::npos);
  EXPECT_EQ(test::ReadFileBytes(data + "/In.mbx"), "");

  // Importing the same list again adds nothing and says why.
  ASSERT_EQ(Feeds("import " + Quote(dir.File("list.opml")), output), 0) << output;
  EXPECT_NE(output.find("0 feed(s) added, 2 skipped."), std::string::npos) << output;
  ASSERT_EQ(Feeds("export", output), 0) << output;
  EXPECT_NE(output.find("<outline text=\"Alpha\" title=\"Alpha\" type=\"rss\" xmlUrl=\"" + server.Url("/a.xml") +
                        "\" category=\"Science\"/>"),
            std::string::npos)
      << output;
}

TEST_F(FeedListEndToEnd, ExitStatusesTellABrokenListAndAWrongCommandLineApart) {
  test::WriteFileBytes(dir.File("broken.opml"), "<opml><body><outline text=\"x\" xmlUrl=\"http://x/\"></body>");
  std::string output;
  EXPECT_EQ(Feeds("import " + Quote(dir.File("broken.opml")), output), 1);
  EXPECT_NE(output.find("not well-formed XML"), std::string::npos) << output;
  EXPECT_FALSE(std::filesystem::exists(plugins + "/tarnwick.ini"));
  EXPECT_EQ(Feeds("frobnicate", output), 2);
  EXPECT_EQ(RunCommand(Quote(TARNWICK_FEEDS_FILE) + " --settings " + Quote(dir.File("elsewhere.ini")) + " import " +
                           Quote(dir.File("broken.opml")),
                       output),
            2);
  EXPECT_NE(output.find("--data-folder"), std::string::npos) << output;
  EXPECT_EQ(Feeds("export " + Quote(dir.File("no/such/folder.opml")), output), 1);
}

}  // namespace
}  // namespace tarnwick
