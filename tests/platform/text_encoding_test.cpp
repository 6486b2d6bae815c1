#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnwick::platform {
namespace {

using std::string_literals::operator""s;

TEST(FindByteOrderMark, NamesEveryUnicodeMarkAndItsLength) {
  struct Case {
    std::string bytes;
    std::string_view charset;
    size_t length;
  };
  for (const Case& c :
       {Case{"\xEF\xBB\xBF<"s, "UTF-8", 3}, Case{"\xFF\xFE<\0"s, "UTF-16LE", 2}, Case{"\xFE\xFF\0<"s, "UTF-16BE", 2},
        Case{"\xFF\xFE\0\0<\0\0\0"s, "UTF-32LE", 4}, Case{"\0\0\xFE\xFF\0\0\0<"s, "UTF-32BE", 4}}) {
    std::optional<ByteOrderMark> mark = FindByteOrderMark(c.bytes);
    ASSERT_TRUE(mark.has_value()) << c.charset;
    EXPECT_EQ(mark->charset, c.charset);
    EXPECT_EQ(mark->length, c.length);
  }
  EXPECT_FALSE(FindByteOrderMark("<?xml").has_value());
  EXPECT_FALSE(FindByteOrderMark("\xFF").has_value());
  EXPECT_FALSE(FindByteOrderMark("").has_value());
}

TEST(ConvertToUtf8, LatinAndAsciiNamesAreReadAsWindows1252) {
  // 0xE9 is é in both; 0x93 and 0x94 are curly quotes only in windows-1252; 0x80 is the euro sign.
  for (std::string_view name : {"ISO-8859-1", "iso-8859-1", "latin1", "US-ASCII", "windows-1252"}) {
    EXPECT_EQ(ConvertToUtf8("Caf\xE9 \x93x\x94 \x80", name), "Caf\xC3\xA9 \xE2\x80\x9Cx\xE2\x80\x9D \xE2\x82\xAC")
        << name;
  }
  // A byte windows-1252 leaves undefined is still Latin-1 rather than a lost text.
  EXPECT_EQ(ConvertToUtf8("a\x81z", "ISO-8859-1"), "a\xC2\x81z");
}

TEST(ConvertToUtf8, WideEncodingsBecomeUtf8) {
  EXPECT_EQ(ConvertToUtf8("C\0a\0f\0\xE9\0=\xD8\0\xDE"s, "UTF-16LE"), "Caf\xC3\xA9\xF0\x9F\x98\x80");
  EXPECT_EQ(ConvertToUtf8("\0C\0\xE9"s, "UTF-16BE"), "C\xC3\xA9");
  EXPECT_EQ(ConvertToUtf8("\xE9\0\0\0"s, "UTF-32LE"), "\xC3\xA9");
  EXPECT_EQ(ConvertToUtf8("\x82\xA0", "Shift_JIS"), "\xE3\x81\x82");
}

TEST(ConvertToUtf8, UnknownNamesAndInvalidBytesGiveNothing) {
  EXPECT_FALSE(ConvertToUtf8("abc", "no-such-charset").has_value());
  EXPECT_FALSE(ConvertToUtf8("abc", "").has_value());
  EXPECT_FALSE(ConvertToUtf8("abc", "UTF-8//IGNORE").has_value());      // no iconv options
  EXPECT_FALSE(ConvertToUtf8("\xC3(", "UTF-8").has_value());            // invalid sequence
  EXPECT_FALSE(ConvertToUtf8("A\0\x00\xD8"s, "UTF-16LE").has_value());  // ends inside a pair
}

TEST(ValidUtf8, ReplacesEachMaximalInvalidPartOnce) {
  struct Case {
    std::string text;
    std::string valid;
  };
  const std::string fffd = "\xEF\xBF\xBD";
  for (const Case& c : {
           Case{"caf\xC3\xA9 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF", "caf\xC3\xA9 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"},
           Case{"\x86\x86\x86", fffd + fffd + fffd},             // stray continuation bytes
           Case{"a\xE2\x82z", "a" + fffd + "z"},                 // a cut sequence is one part
           Case{"\xC0\xAF", fffd + fffd},                        // overlong lead
           Case{"\xE0\x80\xAF", fffd + fffd + fffd},             // overlong three-byte form
           Case{"\xED\xA0\x80", fffd + fffd + fffd},             // a surrogate
           Case{"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},  // beyond U+10FFFF
           Case{"\xF0\x9F\x98", fffd},                           // cut at the end
           Case{"\xFF<p>", fffd + "<p>"},
       }) {
    EXPECT_EQ(ValidUtf8(c.text), c.valid) << c.text;
  }
}

// ASCII is passed over a word at a time: the first fault must be found wherever it falls.
TEST(ValidUtf8Length, StopsAtTheFirstFaultWhereverItFallsInAWord) {
  for (size_t ascii = 0; ascii < 20; ++ascii) {
    const std::string run(ascii, 'a');
    EXPECT_EQ(ValidUtf8Length(run + "\xFF" + "bcdefghijk"), ascii);
    EXPECT_EQ(ValidUtf8Length(run + "\xC3(" + "bcdefghijk"), ascii);
    EXPECT_EQ(ValidUtf8Length(run + "\xC3\xA9" + run + "\xF0\x9F\x98"), 2 * ascii + 2);  // cut at the end
    EXPECT_EQ(ValidUtf8Length(run + "\xE2\x82\xAC" + run + "\xC3\xA9"), 2 * ascii + 5);
  }
}

TEST(ConvertToUtf8Replacing, InvalidSequencesBecomeReplacementCharacters) {
  const std::string fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(ConvertToUtf8Replacing("a\x82", "Shift_JIS"), "a" + fffd);  // ends inside a character
  // A lead byte whose second byte cannot follow it: the lead alone is replaced.
  EXPECT_EQ(ConvertToUtf8Replacing("\x82\xA0\x82 \x82\xA0", "Shift_JIS"), "\xE3\x81\x82" + fffd + " \xE3\x81\x82");
  // A lone surrogate is skipped as a whole unit, so the text after it stays aligned.
  EXPECT_EQ(ConvertToUtf8Replacing("A\0\x00\xD8"
                                   "B\0"s,
                                   "UTF-16LE"),
            "A" + fffd + "B");
  EXPECT_EQ(ConvertToUtf8Replacing("a\x81\xE9", "latin1"), "a\xC2\x81\xC3\xA9");
  EXPECT_EQ(ConvertToUtf8Replacing("a\xE9", "utf-8"), "a" + fffd);
  EXPECT_FALSE(ConvertToUtf8Replacing("abc", "no-such-charset").has_value());
}

TEST(ReadsDeclarationsAsWritten, OnlyByteWideEncodingsThatKeepAscii) {
  for (std::string_view name : {"UTF-8", "ISO-8859-1", "windows-1252", "Shift_JIS", "KOI8-R", "EUC-JP", "GB2312"}) {
    EXPECT_TRUE(ReadsDeclarationsAsWritten(name)) << name;
  }
  for (std::string_view name : {"UTF-16", "utf-16le", "UTF16LE", "UTF-32", "UCS-2", "UCS-4", "ISO-10646-UCS-2",
                                "ISO-10646", "UNICODE", "IBM037", "no-such-charset", ""}) {
    EXPECT_FALSE(ReadsDeclarationsAsWritten(name)) << name;
  }
}

}  // namespace
}  // namespace tarnwick::platform
