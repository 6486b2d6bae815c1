#include "core/toc_layout.h"

#include <gtest/gtest.h>

namespace tarnwick::host {
namespace {

TEST(TocLayout, HeaderAndEntryRoundTripWithThePublicFieldsWhereReadersLook) {
  TocHeader header;
  header.mailboxSize = 123456789012ull;
  header.mailboxModifiedSeconds = 1700000000;
  header.mailboxModifiedNanoseconds = 999999999;
  header.nextId = 77;
  header.count = 300;
  std::string bytes = EncodeTocHeader(header);
  ASSERT_EQ(bytes.size(), kTocHeaderSize);
  EXPECT_EQ(static_cast<unsigned char>(bytes[102]), 0x2C);
  EXPECT_EQ(static_cast<unsigned char>(bytes[103]), 0x01);
  std::optional<TocHeader> back = DecodeTocHeader(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->mailboxSize, header.mailboxSize);
  EXPECT_EQ(back->mailboxModifiedNanoseconds, header.mailboxModifiedNanoseconds);
  EXPECT_EQ(back->nextId, 77u);
  EXPECT_EQ(back->count, 300u);

  TocEntry entry;
  entry.offset = 1ull << 33;
  entry.length = 4000;
  entry.state = -2;
  entry.id = 9;
  entry.hash = 0xDEADBEEF;
  entry.summary = {"Tue, 3 Jun 2003", "Ann", std::string(200, 's')};
  std::string entryBytes = EncodeTocEntry(entry);
  ASSERT_EQ(entryBytes.size(), kTocEntrySize);
  EXPECT_EQ(static_cast<unsigned char>(entryBytes[12]), 0xFE);
  EXPECT_EQ(static_cast<unsigned char>(entryBytes[13]), 0xFF);
  TocEntry decoded = DecodeTocEntry(entryBytes);
  EXPECT_EQ(decoded.offset, entry.offset);
  EXPECT_EQ(decoded.state, -2);
  EXPECT_EQ(decoded.hash, entry.hash);
  EXPECT_EQ(decoded.summary.from, "Ann");
  EXPECT_EQ(decoded.summary.subject, std::string(kSummarySubjectSize, 's'));
}

TEST(TocLayout, CountsBeyondSixteenBitsStopAt65535WhereOtherReadersLook) {
  TocHeader header;
  header.count = 100000;
  std::string bytes = EncodeTocHeader(header);
  EXPECT_EQ(static_cast<unsigned char>(bytes[102]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bytes[103]), 0xFF);
  EXPECT_EQ(DecodeTocHeader(bytes)->count, 100000u);
}

TEST(TocLayout, ForeignOrInconsistentHeadersAreRejected) {
  EXPECT_FALSE(DecodeTocHeader(std::string(kTocHeaderSize, '\0')));
  EXPECT_FALSE(DecodeTocHeader("short"));
  TocHeader header;
  header.count = 5;
  std::string bytes = EncodeTocHeader(header);
  bytes[102] = 4;  // the public count disagrees with the host's own
  EXPECT_FALSE(DecodeTocHeader(bytes));
}

}  // namespace
}  // namespace tarnwick::host
