#include "platform/ini_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarnwick::platform {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

class IniFileTest : public ::testing::Test {
protected:
  TempDir dir;
  std::string path = dir.File("settings.ini");
  IniFile ini{path};
};

TEST_F(IniFileTest, NamesMatchWithoutRegardToCaseAndBlanksAreDropped) {
  WriteFileBytes(path, "[Feed One]\n  Url =  http://a/b  \nEmpty=\n");
  EXPECT_EQ(ini.Read("feed one", "URL"), "http://a/b");
  EXPECT_EQ(ini.Read("FEED ONE", "empty"), "");
  EXPECT_EQ(ini.Read("Feed One", "Missing"), std::nullopt);
  EXPECT_EQ(ini.Read("Other", "Url"), std::nullopt);
}

TEST_F(IniFileTest, MissingFileReadsAsEmptyAndFirstWriteCreatesIt) {
  EXPECT_EQ(ini.Read("A", "b"), std::nullopt);
  EXPECT_TRUE(ini.ReadSection("A").empty());
  ASSERT_TRUE(ini.Write("A", "b", "c"));
  EXPECT_EQ(ReadFileBytes(path), "[A]\nb=c\n");
}

TEST_F(IniFileTest, CrLfAndLfFilesReadTheSameAndKeepTheirLineEnds) {
  WriteFileBytes(path, "[A]\r\nx=1\r\ny=2\r\n");
  EXPECT_EQ(ini.Read("A", "y"), "2");
  EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"x=1", "y=2"}));
  ASSERT_TRUE(ini.Write("A", "z", "3"));
  EXPECT_EQ(ReadFileBytes(path), "[A]\r\nx=1\r\ny=2\r\nz=3\r\n");
}

TEST_F(IniFileTest, LinesEndingInACarriageReturnReadTheSameAfterARewrite) {
  // Found by fuzzing: in a file of LF line ends, a value that ends in a stray CR lost it to the
  // next write anywhere in the file.
  WriteFileBytes(path, "[A]\nx=1\r\r\ny=2\n[B]\nz=3\r\r");
  ASSERT_EQ(ini.Read("A", "x"), "1\r");
  ASSERT_EQ(ini.Read("B", "z"), "3\r");
  ASSERT_TRUE(ini.Write("C", "k", "v"));
  EXPECT_EQ(ini.Read("A", "x"), "1\r");
  EXPECT_EQ(ini.Read("B", "z"), "3\r");
  ASSERT_TRUE(ini.DeleteKey("A", "y"));
  EXPECT_EQ(ini.Read("A", "x"), "1\r");
  EXPECT_EQ(ReadFileBytes(path), "[A]\nx=1\r\r\n[B]\nz=3\r\r\n[C]\nk=v\n");
}

TEST_F(IniFileTest, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEndOfTheFile) {
  WriteFileBytes(path, "[A]\nx=1\n\n[B]\ny=2\n");
  ASSERT_TRUE(ini.Write("a", "New", "v"));
  ASSERT_TRUE(ini.Write("C", "k", "w"));
  ASSERT_TRUE(ini.Write("B", "Y", "changed"));
  EXPECT_EQ(ReadFileBytes(path), "[A]\nx=1\nNew=v\n\n[B]\nY=changed\n[C]\nk=w\n");
}

TEST_F(IniFileTest, DeletingAKeyOrSectionRemovesItsLinesOnly) {
  WriteFileBytes(path, "[A]\nx=1\ny=2\n[B]\nx=3\n[C]\nz=4\n");
  ASSERT_TRUE(ini.DeleteKey("a", "X"));
  ASSERT_TRUE(ini.DeleteSection("b"));
  EXPECT_EQ(ReadFileBytes(path), "[A]\ny=2\n[C]\nz=4\n");
  EXPECT_TRUE(ini.DeleteKey("Absent", "x"));
  EXPECT_TRUE(ini.DeleteSection("Absent"));
}

TEST_F(IniFileTest, DuplicatesReadFirstOccurrenceAndDeletionRemovesEveryOne) {
  WriteFileBytes(path, "[A]\nk=first\nk=second\n[B]\n[a]\nk=third\nj=4\n");
  EXPECT_EQ(ini.Read("A", "k"), "first");
  EXPECT_EQ(ini.Read("A", "j"), "4");
  ASSERT_TRUE(ini.Write("A", "k", "new"));
  EXPECT_EQ(ini.Read("A", "k"), "new");
  ASSERT_TRUE(ini.DeleteKey("A", "k"));
  EXPECT_EQ(ini.Read("A", "k"), std::nullopt);
  ASSERT_TRUE(ini.DeleteSection("A"));
  EXPECT_EQ(ini.Read("A", "j"), std::nullopt);
  EXPECT_EQ(ReadFileBytes(path), "[B]\n");
}

TEST_F(IniFileTest, SectionReadKeepsFileOrderAndLinesWithoutEquals) {
  WriteFileBytes(path, "top=ignored\n[A]\nb = 2\nbare line\n\na=1\n[B]\nc=3\n");
  EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"b=2", "bare line", "a=1"}));
}

TEST_F(IniFileTest, MalformedInputReadsPredictably) {
  std::string junk = "\x01\xff\xfe garbage\n[Broken\nk=in broken\n[A]\nno equals\nk=v\n";
  junk += std::string("\0\0zero=\0x\n", 10);
  WriteFileBytes(path, junk);
  EXPECT_EQ(ini.Read("Broken", "k"), "in broken");
  EXPECT_EQ(ini.Read("A", "k"), "v");
  ASSERT_TRUE(ini.Write("A", "k", "w"));
  EXPECT_EQ(ini.Read("Broken", "k"), "in broken");
  EXPECT_EQ(ini.Read("A", "k"), "w");
}

TEST_F(IniFileTest, ValuesCannotInjectLines) {
  ASSERT_TRUE(ini.Write("A", "k", "one\r\n[B]\nk=forged"));
  EXPECT_EQ(ini.Read("A", "k"), "one  [B] k=forged");
  EXPECT_EQ(ini.Read("B", "k"), std::nullopt);
}

TEST_F(IniFileTest, LargeValuesRoundTrip) {
  std::string big(1 << 20, 'v');
  ASSERT_TRUE(ini.Write("A", "big", big));
  EXPECT_EQ(ini.Read("A", "big"), big);
}

TEST_F(IniFileTest, WriteIntoUnwritableFolderFailsWithoutHarm) {
  IniFile nowhere(dir.File("missing-folder/settings.ini"));
  EXPECT_FALSE(nowhere.Write("A", "k", "v"));
  EXPECT_EQ(nowhere.Read("A", "k"), std::nullopt);
}

}  // namespace
}  // namespace tarnwick::platform
