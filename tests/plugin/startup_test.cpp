#include "plugin/startup.h"
#include "platform/file_system.h"

#include "platform/dynamic_library.h"
#include "platform/version_resource.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarnwick::plugin {
namespace {

using test::TempDir;
using test::WriteFileBytes;

// A host installation: <root>/tarnwick-host, <root>/plugins/ with the module, optionally a
// deudora.ini beside the host executable.
class HostInstallation : public ::testing::Test {
protected:
  void SetUp() override {
    platform::MakeFolder(plugins);
    std::filesystem::copy_file(TARNWICK_MODULE_FILE, plugins + "/" + platform::ModuleFileName("tarnwick"));
    WriteFileBytes(hostExecutable, "not really a program");
  }

  TempDir dir;
  std::string root = dir.Path() + "/Program Files/Host";
  std::string plugins = (std::filesystem::create_directories(root), root + "/plugins");
  std::string hostExecutable = root + "/tarnwick-host";
  PluginContext context;
};

TEST_F(HostInstallation, PathsComeFromThePluginFolderAndDataFolderFromItsParent) {
  std::string description = FillContext(context, 4, plugins + "/", hostExecutable);
  EXPECT_EQ(context.pluginFolder, plugins);
  EXPECT_EQ(context.settingsPath, plugins + "/tarnwick.ini");
  EXPECT_EQ(context.scratchFeedPath, plugins + "/feed.xml");
  EXPECT_EQ(context.hostDataFolder, root);
  EXPECT_EQ(context.inMailboxPath, root + "/In.mbx");
  EXPECT_EQ(context.outMailboxPath, root + "/Out.mbx");
  EXPECT_EQ(context.productName, "Tarnwick");
  EXPECT_EQ(context.versionText, "Version: 1.0");
  EXPECT_EQ(description, "Tarnwick, Version: 1.0");
  EXPECT_FALSE(context.tidyRegistered);
}

TEST_F(HostInstallation, PluginsFolderIsRecognisedWithoutRegardToCase) {
  std::string upper = root + "/PlugIns";
  std::filesystem::rename(plugins, upper);
  FillContext(context, 4, upper, hostExecutable);
  EXPECT_EQ(context.hostDataFolder, root);
  EXPECT_EQ(context.settingsPath, upper + "/tarnwick.ini");
}

TEST_F(HostInstallation, UsableDataFolderOfTheHostSettingsWins) {
  std::string data = dir.File("Mail Data");
  platform::MakeFolder(data);
  WriteFileBytes(root + "/deudora.ini", "[Settings]\nDataFolder=" + data + "/\n");
  FillContext(context, 4, plugins, hostExecutable);
  EXPECT_EQ(context.hostDataFolder, data);

  WriteFileBytes(root + "/deudora.ini", "[Settings]\nDataFolder=" + dir.File("missing") + "\n");
  FillContext(context, 4, plugins, hostExecutable);
  EXPECT_EQ(context.hostDataFolder, root);
}

TEST_F(HostInstallation, FolderNotNamedPluginsLeavesTheWholeSettingsPathAsProgramFolder) {
  std::string other = root + "/extensions";
  platform::MakeFolder(other);
  FillContext(context, 4, other, hostExecutable);
  EXPECT_EQ(context.hostDataFolder, other + "/tarnwick.ini");

  std::string data = dir.File("Mail Data");
  platform::MakeFolder(data);
  WriteFileBytes(root + "/deudora.ini", "[Settings]\nDataFolder=" + data + "\n");
  FillContext(context, 4, other, hostExecutable);
  EXPECT_EQ(context.hostDataFolder, data);
}

TEST_F(HostInstallation, OtherExecutablesHaveNoHostSettings) {
  std::string data = dir.File("Mail Data");
  platform::MakeFolder(data);
  WriteFileBytes(root + "/deudora.ini", "[Settings]\nDataFolder=" + data + "\n");
  WriteFileBytes(root + "/other-client", "[Settings]\nbinary junk\n");
  FillContext(context, 4, plugins, root + "/other-client");
  EXPECT_EQ(context.hostDataFolder, root);
  FillContext(context, 4, plugins, "-1");
  EXPECT_EQ(context.hostDataFolder, root);
}

TEST_F(HostInstallation, ModuleWithoutVersionTextsGivesEmptyTexts) {
  WriteFileBytes(plugins + "/" + platform::ModuleFileName("tarnwick"),
                 "\x7f"
                 "ELF truncated");
  std::string description = FillContext(context, 4, plugins, hostExecutable);
  EXPECT_EQ(context.productName, "");
  EXPECT_EQ(context.versionText, "");
  EXPECT_EQ(description, ", ");
}

TEST(VersionText, TakesTheFirstTwoNumbers) {
  EXPECT_EQ(VersionTextOf("1, 8, 0, 2"), "Version: 1.8");
  EXPECT_EQ(VersionTextOf("2,10,3,4"), "Version: 2.10");
  EXPECT_EQ(VersionTextOf("beta"), "");
  EXPECT_EQ(VersionTextOf(""), "");
}

TEST(VersionResource, UnreadableFilesHaveNone) {
  TempDir dir;
  EXPECT_EQ(platform::ReadVersionResource(dir.File("missing.so")), std::nullopt);
  WriteFileBytes(dir.File("text.so"), "plain text");
  EXPECT_EQ(platform::ReadVersionResource(dir.File("text.so")), std::nullopt);
  // A real module cut short after its headers: the section table lies beyond the end.
  std::string module = test::ReadFileBytes(TARNWICK_MODULE_FILE);
  WriteFileBytes(dir.File("cut.so"), module.substr(0, 4096));
  EXPECT_EQ(platform::ReadVersionResource(dir.File("cut.so")), std::nullopt);
  auto whole = platform::ReadVersionResource(TARNWICK_MODULE_FILE);
  ASSERT_TRUE(whole.has_value());
  EXPECT_EQ(whole->productVersion, "1, 0, 0, 0");
}

}  // namespace
}  // namespace tarnwick::plugin
