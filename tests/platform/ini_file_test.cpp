#include "platform/ini_file.h"

#include "platform/file_system.h"
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

TEST_F(IniFileTest, AppliedChangesAreMadeInOrderInOneWriteAndNoneWhenNothingChanges) {
  WriteFileBytes(path, "[A]\nx=1\ny=2\n[B]\nx=3\n");
  ASSERT_TRUE(ini.Apply({{"a", "X", std::nullopt}, {"B", "x", "4"}, {"C", "k", "w"}, {"C", "k", "later"}}));
  EXPECT_EQ(ReadFileBytes(path), "[A]\ny=2\n[B]\nx=4\n[C]\nk=later\n");
  // Removing what is not there leaves the file itself alone: no new file takes its place.
  const FileInfo before = PathInfo(path);
  ASSERT_TRUE(before.exists);
  ASSERT_TRUE(ini.Apply({{"A", "x", std::nullopt}, {"Absent", "k", std::nullopt}}));
  EXPECT_EQ(PathInfo(path).identity, before.identity);
  IniFile nowhere(dir.File("missing-folder/settings.ini"));
  EXPECT_FALSE(nowhere.Apply({{"A", "k", "v"}, {"B", "k", "v"}}));
}

TEST_F(IniFileTest, AFileChangedOrReplacedByAnotherProgramIsReadAgain) {
  WriteFileBytes(path, "[A]\nk=1\n");
  EXPECT_EQ(ini.Read("A", "k"), "1");
  WriteFileBytes(path, "[A]\nk=22\n[B]\nk=3\n");
  EXPECT_EQ(ini.Read("A", "k"), "22");
  EXPECT_EQ(ini.Read("b", "K"), "3");
  WriteFileBytes(path + ".new", "[A]\nk=44\n[B]\nk=5\n");
  ASSERT_TRUE(platform::RenameReplacing(path + ".new", path));
  EXPECT_EQ(ini.Read("A", "k"), "44");
  // A write after another program's change takes that file's line ends and last line.
  ASSERT_TRUE(ini.Write("A", "k", "5"));
  WriteFileBytes(path, "[A]\r\nx=1");
  ASSERT_TRUE(ini.Write("A", "z", "3"));
  EXPECT_EQ(ReadFileBytes(path), "[A]\r\nx=1\r\nz=3\r\n");
  ASSERT_TRUE(platform::RemoveFile(path));
  EXPECT_EQ(ini.Read("A", "k"), std::nullopt);
}

TEST_F(IniFileTest, AKeyThatOpensASectionEndsItsSectionForTheWritesAfterIt) {
  WriteFileBytes(path, "[A]\nx=1\n");
  ASSERT_TRUE(ini.Apply({{"A", "[B", "v"}, {"A", "y", "2"}}));
  ASSERT_TRUE(ini.Write("a", "z", "3"));
  EXPECT_EQ(ReadFileBytes(path), "[A]\nx=1\ny=2\nz=3\n[B=v\n");
  ASSERT_TRUE(ini.Write("b=v", "k", "w"));
  EXPECT_EQ(ini.Read("B=V", "k"), "w");
  // The same in a section the first key makes.
  ASSERT_TRUE(ini.Apply({{"C", "[D", "v"}, {"C", "y", "2"}}));
  EXPECT_EQ(ReadFileBytes(path), "[A]\nx=1\ny=2\nz=3\n[B=v\nk=w\n[C]\ny=2\n[D=v\n");
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

TEST_F(IniFileTest, AKeyHoldingEqualsNeverReplacesAnotherKeysLine) {
  WriteFileBytes(path, "[Aliases]\nnews=Daily News\n");
  ASSERT_TRUE(ini.Write("Aliases", "news=x", "Other"));
  EXPECT_EQ(ReadFileBytes(path), "[Aliases]\nnews=Daily News\nnews=x=Other\n");
  EXPECT_EQ(ini.Read("Aliases", "news"), "Daily News");
  EXPECT_EQ(ini.Read("Aliases", "news=x"), std::nullopt);
  ASSERT_TRUE(ini.DeleteKey("Aliases", "news=x"));
  EXPECT_EQ(ini.Read("Aliases", "news"), "Daily News");
}

TEST_F(IniFileTest, ASectionNameRunsToTheLastClosingBracket) {
  ASSERT_TRUE(ini.Write("Tech [beta]", "URL", "http://t/1"));
  ASSERT_TRUE(ini.Write("Tech [beta]", "URL", "http://t/2"));
  ASSERT_TRUE(ini.Write("a]b", "k", "v"));
  EXPECT_EQ(ReadFileBytes(path), "[Tech [beta]]\nURL=http://t/2\n[a]b]\nk=v\n");
  EXPECT_EQ(ini.Read("tech [BETA]", "url"), "http://t/2");
  EXPECT_EQ(ini.ReadSection("Tech [beta]"), (std::vector<std::string>{"URL=http://t/2"}));
  EXPECT_EQ(ini.Read("a]b", "k"), "v");
  EXPECT_EQ(ini.Read("Tech [beta", "URL"), std::nullopt);
  ASSERT_TRUE(ini.DeleteSection("Tech [beta]"));
  EXPECT_EQ(ReadFileBytes(path), "[a]b]\nk=v\n");
}

TEST_F(IniFileTest, NamesGivenWithBlanksAroundThemAreTheTrimmedNames) {
  ASSERT_TRUE(ini.Write(" Feed One\t", "  Url ", "http://a"));
  EXPECT_EQ(ReadFileBytes(path), "[Feed One]\nUrl=http://a\n");
  EXPECT_EQ(ini.Read(" Feed One\t", "  Url "), "http://a");
  EXPECT_EQ(ini.ReadSection("  feed one "), (std::vector<std::string>{"Url=http://a"}));
  ASSERT_TRUE(ini.Write("Feed One ", " url", "http://b"));
  ASSERT_TRUE(ini.Write("Feed One", " Other ", "x"));
  ASSERT_TRUE(ini.DeleteKey(" Feed One ", " other"));
  EXPECT_EQ(ReadFileBytes(path), "[Feed One]\nurl=http://b\n");
  ASSERT_TRUE(ini.DeleteSection(" FEED ONE "));
  EXPECT_EQ(ReadFileBytes(path), "");
}

TEST_F(IniFileTest, CommentLinesAreNeverKeysAndOutliveEveryChange) {
  const std::string original = "; top\n[A]\n; note=1\n  ;k=2\nk=3\n; [C]\nc=4\n[B]\n\t;keep me\nx=1\n";
  WriteFileBytes(path, original);
  EXPECT_EQ(ini.Read("A", "; note"), std::nullopt);
  EXPECT_EQ(ini.Read("A", ";k"), std::nullopt);
  EXPECT_EQ(ini.Read("A", "k"), "3");
  EXPECT_EQ(ini.Read("A", "c"), "4");  // a commented header opens no section
  EXPECT_EQ(ini.Read("C", "c"), std::nullopt);
  EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"k=3", "c=4"}));
  ASSERT_TRUE(ini.DeleteKey("A", ";k"));
  EXPECT_EQ(ReadFileBytes(path), original);

  ASSERT_TRUE(ini.Write("A", ";k", "5"));
  EXPECT_EQ(ini.Read("A", ";k"), std::nullopt);
  EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"k=3", "c=4"}));
  ASSERT_TRUE(ini.Write("A", "k", "6"));
  ASSERT_TRUE(ini.DeleteSection("B"));
  EXPECT_EQ(ReadFileBytes(path), "; top\n[A]\n; note=1\n  ;k=2\nk=6\n; [C]\nc=4\n;k=5\n\t;keep me\n");
  ASSERT_TRUE(ini.DeleteSection("A"));
  EXPECT_EQ(ReadFileBytes(path), "; top\n; note=1\n  ;k=2\n; [C]\n;k=5\n\t;keep me\n");
}

TEST_F(IniFileTest, AValueInDoubleQuotesReadsWithoutOnePairOfThem) {
  WriteFileBytes(path, "[A]\nq =  \"  padded  \"  \nnested=\"\"x\"\"\nhalf=\"x\none=\"\nsingle='x'\ninner=a \"b\" c\n");
  EXPECT_EQ(ini.Read("A", "q"), "  padded  ");
  EXPECT_EQ(ini.Read("A", "nested"), "\"x\"");
  EXPECT_EQ(ini.Read("A", "half"), "\"x");
  EXPECT_EQ(ini.Read("A", "one"), "\"");
  EXPECT_EQ(ini.Read("A", "single"), "'x'");
  EXPECT_EQ(ini.Read("A", "inner"), "a \"b\" c");
  // A section read hands the lines over as they stand, quotes and all.
  EXPECT_EQ(ini.ReadSection("A").front(), "q=\"  padded  \"");
  ASSERT_TRUE(ini.Write("A", "w", "\"\""));
  EXPECT_EQ(ini.Read("A", "w"), "");
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
