// What the host hands a translator of a stored message, and the message it makes of the output.
#include "core/translator_input.h"
#include "core/mbox_format.h"

#include <gtest/gtest.h>

namespace tarnwick::host {
namespace {

constexpr char kSeparator[] = "From ???@??? Tue Jun  3 04:05:09 2003\r\n";

TEST(TranslatorInput, TheMimeTypeIsTakenAsWrittenWithTextPlainWhenThereIsNone) {
  MimeTypeText html = MimeTypeOfHeaders("Subject: x\r\nContent-Type:  text/html ; charset=\"utf-8\"; a=b;c\r\n\r\n");
  EXPECT_EQ(html.type, "text");
  EXPECT_EQ(html.subtype, "html");
  ASSERT_EQ(html.parameters.size(), 2u);
  EXPECT_EQ(html.parameters[0], (std::pair<std::string, std::string>{"charset", "utf-8"}));
  EXPECT_EQ(html.parameters[1], (std::pair<std::string, std::string>{"a", "b"}));

  EXPECT_EQ(MimeTypeOfHeaders("Content-Type: Text/HTML\r\n").subtype, "HTML") << "letter case is kept";
  EXPECT_EQ(MimeTypeOfHeaders("Content-Type: multipart/mixed; boundary=\"a;b\"\r\n").parameters[0].second, "a;b");
  for (const char* headers : {"Subject: none\r\n", "Content-Type: text\r\n", "Content-Type: /html\r\n"}) {
    MimeTypeText plain = MimeTypeOfHeaders(headers);
    EXPECT_EQ(plain.type + "/" + plain.subtype, "text/plain") << headers;
  }
}

TEST(TranslatorInput, TheInputFileHoldsTheHeadersAndTheBodyAsAReaderSeesIt) {
  const std::string stored = std::string(kSeparator) +
                             "From: Desk <d@x>\r\nTo: me\r\nSubject: Hello\r\nCc: you\r\n\r\n"
                             "line\r\n>From the desk\r\n>>From deeper\r\n";
  TranslatorInput input = TranslatorInputOf(stored);
  EXPECT_EQ(input.fileText,
            "From: Desk <d@x>\r\nTo: me\r\nSubject: Hello\r\nCc: you\r\n\r\nline\r\nFrom the desk\r\n>From deeper\r\n");
  EXPECT_EQ(input.rawHeaders, "From: Desk <d@x>\r\nTo: me\r\nSubject: Hello\r\nCc: you");
  EXPECT_EQ(input.from, "Desk <d@x>");
  EXPECT_EQ(input.to, "me");
  EXPECT_EQ(input.subject, "Hello");
  EXPECT_EQ(input.cc, "you");
  EXPECT_EQ(input.bcc, "");
  EXPECT_EQ(input.mimeType.type + "/" + input.mimeType.subtype, "text/plain");
}

TEST(TranslatorInput, TheOutputBecomesTheMessageUnderItsOldSeparatorLine) {
  const std::string stored = std::string(kSeparator) + "Subject: old\r\n\r\nold body\r\n";
  const std::string message = MessageFromTranslation(stored, "Subject: old\r\n\r\n<x-html>new\nFrom the page</x-html>");
  EXPECT_EQ(message, std::string(kSeparator) + "Subject: old\r\n\r\n<x-html>new\r\n>From the page</x-html>\r\n");
  EXPECT_EQ(ReadableBody(SplitStoredMessage(message).body), "new\r\nFrom the page");

  const std::string looksLikeSeparator = MessageFromTranslation(stored, "From ???@??? forged\r\nX: y\r\n\r\nbody");
  EXPECT_TRUE(looksLikeSeparator.starts_with(std::string(kSeparator) + "From ???@??? forged\r\n"))
      << "an output line that looks like a separator stays header text";

  const std::string withoutSeparator = MessageFromTranslation("Subject: old\r\n\r\nbody", "Subject: new\r\n\r\nx");
  EXPECT_TRUE(IsSeparatorLine(withoutSeparator));
  EXPECT_TRUE(withoutSeparator.ends_with("\r\nSubject: new\r\n\r\nx\r\n"));

  EXPECT_EQ(MessageFromTranslation(stored, ""), "") << "nothing written, nothing replaced";
}

}  // namespace
}  // namespace tarnwick::host
