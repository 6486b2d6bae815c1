#include "plugin/full_article_translator.h"
#include "platform/file_system.h"

#include "platform/ems_records.h"
#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "plugin/host_memory.h"
#include "plugin/plugin_context.h"
#include "store/file_utilities.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

extern "C" {
int32_t ems_free(void* memory);
int32_t ems_translate_file(void* globals, EmsTranslator* translator, EmsDataFile* in, EmsProgress progress,
                           EmsDataFile* out, void* status);
}

namespace tarnwick::plugin {
namespace {

using tarnwick::test::ReadFileBytes;
using tarnwick::test::WriteFileBytes;

struct ViewerCall {
  std::string articleHtml;
  std::string headerText;
};

class FullArticleTranslatorTest : public ::testing::Test {
protected:
  FullArticleTranslatorTest() {
    platform::MakeFolder(plugins);
    context.pluginFolder = plugins;
    WriteFileBytes(outPath, "");
    WriteFileBytes(inPath, "message file");
    previousKeys = platform::SetKeyStateProvider(
        [this](platform::Key key) { return key == platform::Key::kShift ? shift : control; });
    previousBoxes = platform::SetMessageBoxHandler(
        [this](const std::string& text, const std::string&) { messageBoxes.push_back(text); });
    previousOpener = SetArticleViewerOpener([this](const std::string& html, const std::string& headers) {
      viewerCalls.push_back({html, headers});
      return true;
    });
  }

  ~FullArticleTranslatorTest() override {
    platform::SetKeyStateProvider(std::move(previousKeys));
    platform::SetMessageBoxHandler(std::move(previousBoxes));
    SetArticleViewerOpener(std::move(previousOpener));
    FreeHostMemory(out.info);
  }

  // Serves `page` at /page.html and points the message's "Website: " line at it.
  void ServePage(const std::string& page) {
    server.AddEndpoint("/page.html", 200, page, {{"Content-Type", "text/html"}});
    SetLink(server.Url("/page.html"));
  }

  void SetLink(const std::string& link) { rawHeaders = "Subject: News\r\nWebsite: " + link + "\r\nFeed: F"; }

  int32_t Translate(bool withControl, bool withShift) {
    control = withControl;
    shift = withShift;
    header.rawHeaders = rawHeaders.data();
    return TranslateFullArticle(context, &in, &out);
  }

  std::string Headers() const { return rawHeaders + "\r\n\r\n"; }

  tarnwick::test::TempDir dir;
  tarnwick::test::HttpServer server;
  std::string plugins = dir.File("plugins");
  std::string workFile = plugins + "/article.html";
  std::string inPath = dir.File("in.msg");
  std::string outPath = dir.File("out.msg");
  PluginContext context;
  std::string rawHeaders = "Subject: News\r\nFeed: F";
  EmsHeaderData header{sizeof(EmsHeaderData), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  EmsDataFile in{sizeof(EmsDataFile), 0, nullptr, inPath.data(), &header};
  EmsDataFile out{sizeof(EmsDataFile), 0, nullptr, outPath.data(), nullptr};
  bool shift = false;
  bool control = false;
  std::vector<std::string> messageBoxes;
  std::vector<ViewerCall> viewerCalls;
  platform::KeyStateProvider previousKeys;
  platform::MessageBoxHandler previousBoxes;
  ArticleViewerOpener previousOpener;
};

TEST_F(FullArticleTranslatorTest, CtrlPutsThePageWithoutItsHtmlTagsInPlaceOfTheBody) {
  ServePage("<html><body>Hi</body></html>");
  ASSERT_EQ(Translate(true, false), 0);
  EXPECT_EQ(ReadFileBytes(outPath), Headers() + "<x-html><body>Hi</body></x-html>");
  ASSERT_NE(out.info, nullptr);
  EXPECT_STREQ(out.info->type, "text");
  EXPECT_STREQ(out.info->subtype, "plain");
  EXPECT_STREQ(out.info->version, "");
  EXPECT_EQ(out.info->params, nullptr);
  EXPECT_FALSE(store::FileExists(workFile));
  EXPECT_TRUE(viewerCalls.empty());
  EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(FullArticleTranslatorTest, CtrlAndShiftPutThePageAsPlainText) {
  ServePage("<p>a  b</p>\r\nsecond\tline");
  ASSERT_EQ(Translate(true, true), 0);
  EXPECT_EQ(ReadFileBytes(outPath), Headers() + "<x-html>ab<br>secondline</x-html>");
}

TEST_F(FullArticleTranslatorTest, ThePageEndsAtItsFirstZeroByte) {
  ServePage(std::string("<b>kept</b>\0dropped", 19));
  ASSERT_EQ(Translate(true, false), 0);
  EXPECT_EQ(ReadFileBytes(outPath), Headers() + "<x-html><b>kept</b></x-html>");
}

TEST_F(FullArticleTranslatorTest, AStaleWorkFileIsNeverTakenForThePage) {
  WriteFileBytes(workFile, "an article of an earlier message");
  server.AddEndpoint("/gone.html", 404, "Not Found");
  SetLink(server.Url("/gone.html"));
  WriteFileBytes(outPath, "as the host had it");
  EXPECT_EQ(Translate(true, false), 12);
  EXPECT_EQ(ReadFileBytes(outPath), "as the host had it");
  EXPECT_EQ(out.info, nullptr);
  EXPECT_FALSE(store::FileExists(workFile));
  ASSERT_EQ(messageBoxes.size(), 1u);  // said once, with the server's answer as the reason
  EXPECT_NE(messageBoxes[0].find("The full article could not be downloaded."), std::string::npos) << messageBoxes[0];
  EXPECT_NE(messageBoxes[0].find("404"), std::string::npos) << messageBoxes[0];
}

TEST_F(FullArticleTranslatorTest, AWorkFileThatCannotBeDeletedOrAPageThatIsNoTextGivesTwelve) {
  WriteFileBytes(outPath, "as the host had it");
  ServePage("<html>Hi</html>");
  // A folder that is not empty stands where the work file goes: nothing is fetched.
  platform::MakeFolder(workFile);
  WriteFileBytes(workFile + "/inside", "x");
  EXPECT_EQ(Translate(true, false), 12);
  EXPECT_EQ(server.HitCount("/page.html"), 0);
  std::filesystem::remove_all(workFile);

  ServePage(std::string(100, '\0') + "binary");
  EXPECT_EQ(Translate(true, false), 12);
  EXPECT_EQ(ReadFileBytes(outPath), "as the host had it");
  EXPECT_EQ(out.info, nullptr);
  EXPECT_FALSE(store::FileExists(workFile));
}

TEST_F(FullArticleTranslatorTest, AUtf16PageIsConvertedWhole) {
  const char page[] = "\xFF\xFE<\0p\0>\0\xFC\0\x3D\xD8\x00\xDE<\0/\0p\0>\0";  // <p>, u-umlaut, an emoji, </p>
  ServePage(std::string(page, sizeof page - 1));
  ASSERT_EQ(Translate(true, false), 0);
  EXPECT_EQ(ReadFileBytes(outPath), Headers() + "<x-html><p>\xC3\xBC\xF0\x9F\x98\x80</p></x-html>");
}

TEST_F(FullArticleTranslatorTest, APageThatNamesNoCharacterSetIsReadInTheServers) {
  server.AddEndpoint("/latin.html", 200, "<p>Caf\xE9</p>", {{"Content-Type", "text/html; charset=ISO-8859-1"}});
  SetLink(server.Url("/latin.html"));
  ASSERT_EQ(Translate(true, false), 0);
  EXPECT_EQ(ReadFileBytes(outPath), Headers() + "<x-html><p>Caf\xC3\xA9</p></x-html>");
}

TEST_F(FullArticleTranslatorTest, ALocalFileLinkIsNotFetched) {
  std::string secret = dir.File("secret.txt");
  WriteFileBytes(secret, "private");
  SetLink("file://" + secret);
  EXPECT_EQ(Translate(true, false), 12);
  EXPECT_EQ(ReadFileBytes(outPath), "");
  EXPECT_EQ(out.info, nullptr);
  EXPECT_FALSE(store::FileExists(workFile));
}

TEST_F(FullArticleTranslatorTest, AnOutputThatCannotBeOpenedGivesSix) {
  ServePage("<html>Hi</html>");
  std::string missing = dir.File("no such folder/out.msg");
  out.fileName = missing.data();
  EXPECT_EQ(Translate(true, false), 6);
  EXPECT_EQ(out.info, nullptr);
  EXPECT_FALSE(store::FileExists(workFile));
  EXPECT_FALSE(store::FileExists(missing));
}

TEST_F(FullArticleTranslatorTest, ALongerEarlierOutputIsCutAfterTheNewText) {
  ServePage("short");
  std::string earlier(4096, 'x');
  WriteFileBytes(outPath, earlier);
  ASSERT_EQ(Translate(true, false), 0);
  EXPECT_EQ(ReadFileBytes(outPath), Headers() + "<x-html>short</x-html>");
}

TEST_F(FullArticleTranslatorTest, WithoutAPluginFolderNothingIsDownloaded) {
  ServePage("<html>Hi</html>");
  context.pluginFolder.clear();
  EXPECT_EQ(Translate(true, false), 12);
  EXPECT_EQ(server.HitCount("/page.html"), 0);
  EXPECT_EQ(ReadFileBytes(outPath), "");
}

TEST_F(FullArticleTranslatorTest, WithoutCtrlTheArticleAfterTheFirstDoubleBreakOpensInTheViewer) {
  ServePage("<html>page</html>");
  WriteFileBytes(inPath, "<html>From the feed<br><br>The body<br><br>more");
  WriteFileBytes(outPath, "untouched");
  EXPECT_EQ(Translate(false, true), 11);
  ASSERT_EQ(viewerCalls.size(), 1u);
  EXPECT_EQ(viewerCalls[0].articleHtml, "<html><body>The body<br><br>more");
  EXPECT_EQ(viewerCalls[0].headerText, Headers());
  EXPECT_EQ(ReadFileBytes(outPath), "untouched");
  EXPECT_EQ(out.info, nullptr);
  EXPECT_EQ(server.HitCount("/page.html"), 0);
}

TEST_F(FullArticleTranslatorTest, AMessageWithoutDoubleBreakOpensWhole) {
  SetLink("http://example.org/a");
  WriteFileBytes(inPath, "plain text<br>one break");
  EXPECT_EQ(Translate(false, false), 11);
  ASSERT_EQ(viewerCalls.size(), 1u);
  EXPECT_EQ(viewerCalls[0].articleHtml, "<html><body>plain text<br>one break");
}

TEST_F(FullArticleTranslatorTest, WithoutAViewerNothingIsShownAndTheResultIsTheSame) {
  SetLink("http://example.org/a");
  SetArticleViewerOpener({});
  EXPECT_EQ(Translate(false, false), 11);
  EXPECT_EQ(ReadFileBytes(outPath), "");
  EXPECT_EQ(out.info, nullptr);
}

TEST_F(FullArticleTranslatorTest, AMessageWithoutWebsiteLineHasNothingToDo) {
  server.AddEndpoint("/page.html", 200, "page");
  for (bool withControl : {false, true}) {
    EXPECT_EQ(Translate(withControl, false), 1);
  }
  rawHeaders = "Subject: News\r\nWebsite: \r\nFeed: F";
  EXPECT_EQ(Translate(true, false), 1);
  header.rawHeaders = nullptr;
  control = true;
  EXPECT_EQ(TranslateFullArticle(context, &in, &out), 1);
  in.header = nullptr;
  EXPECT_EQ(TranslateFullArticle(context, &in, &out), 1);
  EXPECT_EQ(TranslateFullArticle(context, nullptr, &out), 1);
  EXPECT_TRUE(viewerCalls.empty());
  EXPECT_EQ(ReadFileBytes(outPath), "");
}

TEST_F(FullArticleTranslatorTest, TheExportWritesTheOutputAndTheHostFreesItsMimeType) {
  ServePage("<HTML>Hi</HTML>");
  std::string previousFolder = std::exchange(Context().pluginFolder, plugins);
  control = true;
  header.rawHeaders = rawHeaders.data();
  int32_t result = ems_translate_file(nullptr, nullptr, &in, nullptr, &out, nullptr);
  Context().pluginFolder = previousFolder;
  ASSERT_EQ(result, 0);
  EXPECT_EQ(ReadFileBytes(outPath), Headers() + "<x-html>Hi</x-html>");
  ASSERT_NE(out.info, nullptr);
  // The leak check of the sanitizer build sees whether the record goes back whole.
  EXPECT_EQ(ems_free(out.info), 0);
  out.info = nullptr;
}

TEST(PlainTextReduction, DropsRunsOfBlanksAndKeepsParagraphBreaksAsLineBreaks) {
  const std::pair<const char*, const char*> cases[] = {
      {"a  b", "ab"},
      {"a   b", "a b"},
      {"a    b", "ab"},
      {"a\t\tb", "ab"},
      {"x\r\ny", "x<br>y"},
      {"x\ny", "x<br>y"},
      {"x\r\n\r\ny", "x<br>y"},
      {"x\r\n \r\ny", "x<br>y"},
      {"x\r\n\t\r\ny", "x<br>y"},
      {"x\n\ny", "x<br>y"},
      {"<p>one</p>\n\n<p>two</p>\r\n\r\n<p>three</p>", "one<br>two<br>three"},
  };
  for (const auto& [page, text] : cases) EXPECT_EQ(ReduceToPlainText(page), text) << page;
}

TEST(PlainTextReduction, RemovesTagsUpToTheFirstClosingBracket) {
  EXPECT_EQ(ReduceToPlainText("<p class=\"a\">one</p><br/>two"), "onetwo");
  EXPECT_EQ(ReduceToPlainText("a<b<c>d>e"), "ad>e");
  EXPECT_EQ(ReduceToPlainText("<i>x</i> if 1 < 2"), "x if 1 < 2");
  EXPECT_EQ(ReduceToPlainText("<b>x</b> <unclosed tag"), "x <unclosed tag");
  EXPECT_EQ(ReduceToPlainText("1 > 0"), "1 > 0");
}

TEST(HtmlElementTags, OnlyTheExactTagsGo) {
  EXPECT_EQ(WithoutHtmlElementTags("<html><body>Hi</body></html>"), "<body>Hi</body>");
  EXPECT_EQ(WithoutHtmlElementTags("<HTML>a</HTML>"), "a");
  EXPECT_EQ(WithoutHtmlElementTags("<Html>a</Html><html lang=\"en\">b"), "<Html>a</Html><html lang=\"en\">b");
}

}  // namespace
}  // namespace tarnwick::plugin
