// Help pages and web addresses handed to the desktop, seen through a recording opener.
#include "ui/desktop_launcher.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick::ui {
namespace {

class DesktopLauncher : public testing::Test {
protected:
  void SetUp() override {
    previous_ = SetDesktopOpener([this](const std::string& target) {
      opened_.push_back(target);
      return answer_;
    });
    std::filesystem::create_directory(help_);
    test::WriteFileBytes(help_ + "/Getting Started.htm", "<!DOCTYPE html><title>Getting Started</title>");
  }
  void TearDown() override { SetDesktopOpener(previous_); }

  test::TempDir folder_;
  const std::string help_ = folder_.File("help");
  std::vector<std::string> opened_;
  bool answer_ = true;
  DesktopOpener previous_;
};

TEST_F(DesktopLauncher, AnExistingTopicOpensThePagesFullPath) {
  EXPECT_TRUE(OpenHelpTopic(help_, "Getting Started.htm"));
  EXPECT_TRUE(OpenHelpTopic(help_ + "/", "Getting Started.htm"));
  EXPECT_EQ(opened_, (std::vector<std::string>{help_ + "/Getting Started.htm", help_ + "/Getting Started.htm"}));
}

TEST_F(DesktopLauncher, AHandlerThatDoesNotStartMakesTheTopicFail) {
  answer_ = false;
  EXPECT_FALSE(OpenHelpTopic(help_, "Getting Started.htm"));
  EXPECT_EQ(opened_.size(), 1u);
}

TEST_F(DesktopLauncher, AMissingFolderOrPageOpensNothing) {
  EXPECT_FALSE(OpenHelpTopic(folder_.File("no help"), "Getting Started.htm"));
  EXPECT_FALSE(OpenHelpTopic(help_, "Settings.htm"));
  EXPECT_FALSE(OpenHelpTopic("", "Getting Started.htm"));
  std::filesystem::remove_all(help_);
  EXPECT_FALSE(OpenHelpTopic(help_, "Getting Started.htm"));
  EXPECT_TRUE(opened_.empty());
}

TEST_F(DesktopLauncher, ATopicOutsideTheHelpFolderOrNamingAFolderOpensNothing) {
  test::WriteFileBytes(folder_.File("secret.htm"), "x");
  std::filesystem::create_directory(help_ + "/images");
  EXPECT_FALSE(OpenHelpTopic(help_, "../secret.htm"));
  EXPECT_FALSE(OpenHelpTopic(help_, "images"));
  EXPECT_FALSE(OpenHelpTopic(help_, ""));
  EXPECT_FALSE(OpenHelpTopic(help_, "."));
  EXPECT_TRUE(opened_.empty());
}

TEST_F(DesktopLauncher, AnAddressIsHandedOverUnchanged) {
  const std::string address = "http://validator.example/check.cgi?url=http://127.0.0.1:8080/a feed?x=1&y=2";
  EXPECT_TRUE(OpenAddress(address));
  answer_ = false;
  EXPECT_FALSE(OpenAddress("https://example.org/"));
  EXPECT_EQ(opened_, (std::vector<std::string>{address, "https://example.org/"}));
}

TEST_F(DesktopLauncher, OnlyAWebAddressIsHandedToTheBrowser) {
  const std::string localFile = folder_.File("secret.txt");
  test::WriteFileBytes(localFile, "x");
  for (const std::string& address : {std::string(), localFile, "file://" + localFile, "FILE://" + localFile,
                                     std::string("javascript:alert(1)"), std::string("ftp://x.test/a")}) {
    EXPECT_FALSE(OpenAddress(address)) << address;
  }
  EXPECT_TRUE(opened_.empty());
  EXPECT_TRUE(OpenAddress("HTTP://x.test/a"));
  EXPECT_EQ(opened_, std::vector<std::string>{"HTTP://x.test/a"});
}

TEST_F(DesktopLauncher, ALocalFileOpensOnlyWhenItExists) {
  const std::string notes = folder_.File("tarnwick.txt");
  EXPECT_FALSE(OpenLocalFile(notes));
  EXPECT_FALSE(OpenLocalFile(help_)) << "a folder is not a file";
  test::WriteFileBytes(notes, "notes");
  EXPECT_TRUE(OpenLocalFile(notes));
  EXPECT_EQ(opened_, std::vector<std::string>{notes});
}

TEST_F(DesktopLauncher, InstallingNothingRestoresTheDesktopsOpener) {
  SetDesktopOpener({});
  const DesktopOpener desktops = SetDesktopOpener([](const std::string&) { return true; });
  ASSERT_TRUE(static_cast<bool>(desktops));
  // this program has no windows, so the desktop's opener refuses instead of starting anything
  EXPECT_FALSE(desktops("https://example.org/"));
  EXPECT_FALSE(desktops(help_ + "/Getting Started.htm"));
}

}  // namespace
}  // namespace tarnwick::ui
