// The help pages shipped in res/help: every topic the windows open is there and reaches the
// desktop through the launcher, every page is a UTF-8 HTML5 document on the shared stylesheet,
// and every link between pages leads to a page that exists.
#include "support/temp_dir.h"
#include "ui/desktop_launcher.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace tarnwick::ui {
namespace {

const std::vector<std::string> kTopics = {"Getting Started.htm", "Downloading Articles.htm", "Settings.htm",
                                          "Newsboard.htm", "Article Viewer.htm"};

std::string HelpFolder() {
  const char* source = std::getenv("TARNWICK_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/res/help";
}

std::vector<std::string> Pages() {
  std::vector<std::string> pages;
  for (const auto& entry : std::filesystem::directory_iterator(HelpFolder())) {
    if (entry.path().extension() == ".htm") pages.push_back(entry.path().filename().string());
  }
  return pages;
}

bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80           ? 1
                          : (lead >> 5) == 0x6  ? 2
                          : (lead >> 4) == 0xE  ? 3
                          : (lead >> 3) == 0x1E ? 4
                                                : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return false;
    }
    i += length;
  }
  return true;
}

std::string PercentDecoded(const std::string& href) {
  std::string decoded;
  for (size_t i = 0; i < href.size(); ++i) {
    if (href[i] == '%' && i + 2 < href.size()) {
      decoded += static_cast<char>(std::stoi(href.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      decoded += href[i];
    }
  }
  return decoded;
}

TEST(HelpPages, EveryTopicOfTheWindowsIsShippedAndReachesTheDesktop) {
  std::vector<std::string> opened;
  const DesktopOpener previous = SetDesktopOpener([&](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  for (const std::string& topic : kTopics) EXPECT_TRUE(OpenHelpTopic(HelpFolder(), topic)) << topic;
  SetDesktopOpener(previous);
  ASSERT_EQ(opened.size(), kTopics.size());
  for (size_t i = 0; i < kTopics.size(); ++i) EXPECT_EQ(opened[i], HelpFolder() + "/" + kTopics[i]);
}

TEST(HelpPages, EachPageIsAnHtml5DocumentInUtf8OnTheSharedStylesheet) {
  ASSERT_GE(Pages().size(), kTopics.size());
  ASSERT_TRUE(std::filesystem::is_regular_file(HelpFolder() + "/help.css"));
  for (const std::string& page : Pages()) {
    SCOPED_TRACE(page);
    const std::string text = test::ReadFileBytes(HelpFolder() + "/" + page);
    EXPECT_EQ(text.rfind("<!DOCTYPE html>\n<html lang=\"en\">", 0), 0u);
    EXPECT_NE(text.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_TRUE(std::regex_search(text, std::regex("<title>[^<]+</title>")));
    EXPECT_NE(text.find("<link rel=\"stylesheet\" href=\"help.css\">"), std::string::npos);
    EXPECT_NE(text.find("</html>"), std::string::npos);
    EXPECT_TRUE(IsUtf8(text));
  }
}

TEST(HelpPages, EveryLinkBetweenPagesLeadsToAPageOfTheFolder) {
  const std::regex link("href=\"([^\"]*)\"");
  int local = 0;
  for (const std::string& page : Pages()) {
    const std::string text = test::ReadFileBytes(HelpFolder() + "/" + page);
    for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
      const std::string href = (*it)[1];
      ASSERT_FALSE(href.empty()) << page;
      if (href.find(':') != std::string::npos || href[0] == '#') continue;  // an address or an anchor
      const std::string target = PercentDecoded(href.substr(0, href.find('#')));
      EXPECT_EQ(href.find(' '), std::string::npos) << page << ": a blank in a link is written %20";
      EXPECT_TRUE(std::filesystem::is_regular_file(HelpFolder() + "/" + target)) << page << " links to " << href;
      ++local;
    }
  }
  EXPECT_GT(local, 0);
}

}  // namespace
}  // namespace tarnwick::ui
