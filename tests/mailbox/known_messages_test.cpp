// The file that keeps a newsbox's known messages for the next process, and the bound on what is
// kept in memory.
#include "mailbox/known_messages.h"
#include "mailbox/known_messages_cache.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarnwick::mailbox {
namespace {

using feed::KnownIds;

constexpr char kNewsbox[] = "/data/News.mbx";

KnownMessages Sample() {
  KnownMessages known;
  known.stamp.mailbox = {true, 1234, 1700000000, 5, 1700000000000000005, 2049, 77};
  known.stamp.toc = {true, 322, 1700000001, 6, 1700000001000000006, 2049, 78};
  known.ids = {"<a@x>", "<b@x>", ""};
  known.linksRead = true;
  known.linksById = {{"<a@x>", "http://example.org/a"}};
  known.linksWithoutId = {"http://example.org/anonymous"};
  return known;
}

void ExpectSame(KnownMessages read, const KnownMessages& written) {
  read.ReadLinks();
  EXPECT_EQ(read.stamp, written.stamp);
  EXPECT_EQ(read.ids, written.ids);
  EXPECT_EQ(read.linksRead, written.linksRead);
  EXPECT_EQ(read.linksById, written.linksById);
  EXPECT_EQ(read.linksWithoutId, written.linksWithoutId);
}

TEST(KnownMessagesFile, ReadsBackWhatWasWritten) {
  test::TempDir dir;
  const std::string path = dir.File("news.ids");
  ASSERT_TRUE(WriteKnownMessagesFile(path, kNewsbox, Sample()));
  std::optional<KnownMessages> read = ReadKnownMessagesFile(path, kNewsbox);
  ASSERT_TRUE(read);
  ExpectSame(*read, Sample());
}

TEST(KnownMessagesFile, AnythingButAWholeFileOfThisNewsboxIsOfNoUse) {
  test::TempDir dir;
  const std::string path = dir.File("news.ids");
  ASSERT_TRUE(WriteKnownMessagesFile(path, kNewsbox, Sample()));
  const std::string whole = test::ReadFileBytes(path);
  EXPECT_FALSE(ReadKnownMessagesFile(path, "/data/Other.mbx"));
  EXPECT_FALSE(ReadKnownMessagesFile(dir.File("missing.ids"), kNewsbox));
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"cut at every length", ""},  // (below)
      {"another first line", "X" + whole.substr(1)},
      {"an extra line after the end", whole + "more\n"},
      {"a count larger than the lines",
       [&] {
         std::string text = whole;
         text.replace(text.find("\n3\n"), 3, "\n4\n");
         return text;
       }()},
      {"a stamp that does not read",
       [&] {
         std::string text = whole;
         text.replace(text.find(" 1234 "), 6, " x234 ");
         return text;
       }()},
      {"an identifier twice",
       [&] {
         std::string text = whole;
         text.replace(text.find("\n3\n"), 3, "\n4\n");
         return text.replace(text.find("\nend\n"), 5, "\n<a@x>\t\nend\n");
       }()},
  };
  for (const auto& broken : cases) {
    if (std::string(broken.what) == "cut at every length") {
      for (size_t length = 0; length < whole.size(); ++length) {
        test::WriteFileBytes(path, whole.substr(0, length));
        EXPECT_FALSE(ReadKnownMessagesFile(path, kNewsbox)) << "cut at " << length;
      }
      continue;
    }
    test::WriteFileBytes(path, broken.bytes);
    EXPECT_FALSE(ReadKnownMessagesFile(path, kNewsbox)) << broken.what;
  }
}

TEST(KnownMessagesFile, WhatItCannotHoldIsNotWrittenAndAnOlderFileGoes) {
  test::TempDir dir;
  const std::string path = dir.File("news.ids");
  ASSERT_TRUE(WriteKnownMessagesFile(path, kNewsbox, Sample()));
  KnownMessages known = Sample();
  known.ids.insert("<line\nbreak@x>");
  EXPECT_FALSE(WriteKnownMessagesFile(path, kNewsbox, known));
  EXPECT_FALSE(ReadKnownMessagesFile(path, kNewsbox));
}

TEST(KnownIds, FindsWhatWasReadInOnePieceAndWhatWasAddedSince) {
  std::optional<KnownIds> known = KnownIds::FromSortedLines("\n<a@x>\n<b@x>\n<d@x>\n");
  ASSERT_TRUE(known);
  known->insert("<c@x>");
  known->insert("<a@x>");  // there already
  EXPECT_EQ(known->size(), 5u);
  for (const char* id : {"", "<a@x>", "<b@x>", "<c@x>", "<d@x>"}) EXPECT_TRUE(known->contains(id)) << id;
  for (const char* id : {"<a@x", "<e@x>", "<0@x>", "<b@x>\n"}) EXPECT_FALSE(known->contains(id)) << id;
  EXPECT_EQ(known->Sorted(), (std::vector<std::string_view>{"", "<a@x>", "<b@x>", "<c@x>", "<d@x>"}));
  for (const char* unsorted : {"<b@x>\n<a@x>\n", "<a@x>\n<a@x>\n", "<a@x>"}) {
    EXPECT_FALSE(KnownIds::FromSortedLines(unsorted)) << unsorted;
  }
}

TEST(KnownMessagesCache, BeyondItsBoundOnlyTheNewsboxLastStoredStaysInMemoryWhileFilesKeepTheRest) {
  test::TempDir dir;
  KnownMessagesCache memoryOnly("", 5);
  KnownMessagesCache withFiles(dir.File("kept"), 5);
  for (KnownMessagesCache* cache : {&memoryOnly, &withFiles}) {
    KnownMessages first;
    first.stamp.mailbox.exists = true;
    first.ids = {"<1@x>", "<2@x>", "<3@x>"};
    KnownMessages second = first;
    second.ids = {"<4@x>", "<5@x>"};
    (void)cache->Store("/data/First.mbx", first, true);
    (void)cache->Store("/data/Second.mbx", second, true);
    ASSERT_NE(cache->Find("/data/First.mbx"), nullptr);
    KnownMessages third = first;
    third.ids = {"<6@x>"};
    (void)cache->Store("/data/Third.mbx", third, true);
    ASSERT_NE(cache->Find("/data/Third.mbx"), nullptr);
    EXPECT_EQ(cache->FindCurrent("/data/Third.mbx", third.stamp)->ids, third.ids);
  }
  // Forgotten in memory; read again from its file when there is one.
  EXPECT_EQ(memoryOnly.Find("/data/First.mbx"), nullptr);
  EXPECT_EQ(memoryOnly.Find("/data/Second.mbx"), nullptr);
  ASSERT_NE(withFiles.Find("/data/First.mbx"), nullptr);
  EXPECT_EQ(withFiles.Find("/data/First.mbx")->ids.size(), 3u);
}

}  // namespace
}  // namespace tarnwick::mailbox
