// Reads arbitrary bytes as a downloaded web page (ReadPageText), with a server charset that the
// first byte picks. The text must be valid UTF-8 (or the unreadable-page mark), and a valid UTF-8
// page that names no character set must come back as it is, up to its first zero byte.

#include "mailbox/page_text.h"

#include "fuzz_folder.h"
#include "utf8_checks.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 8> kServerCharsets = {"",       "",           "",          "utf-8",
                                                             "UTF-16", "iso-8859-1", "Shift_JIS", "x-unknown"};

void Fail(const char* what) {
  std::fprintf(stderr, "page text: %s\n", what);
  std::abort();
}

// A page whose bytes could name a character set: a mark, or a charset or encoding declaration.
bool MayNameACharset(std::string_view page) {
  return (!page.empty() && static_cast<unsigned char>(page[0]) >= 0xEF) ||
         tarnwick::fuzz::ContainsIgnoringCase(page, "charset") ||
         tarnwick::fuzz::ContainsIgnoringCase(page, "encoding");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view serverCharset = kServerCharsets[data[0] % kServerCharsets.size()];
  const std::string_view page(reinterpret_cast<const char*>(data) + 1, size - 1);
  static const std::string path = tarnwick::fuzz::FuzzFolder() + "/page.html";
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(page.data(), static_cast<std::streamsize>(page.size()));
  const std::string text = tarnwick::mailbox::ReadPageText(path, serverCharset);
  if (text == tarnwick::mailbox::kUnreadablePage) return 0;
  if (!tarnwick::fuzz::IsValidUtf8(text)) Fail("the page's text is not valid UTF-8");
  const std::string_view beforeZero = page.substr(0, page.find('\0'));
  if (serverCharset.empty() && tarnwick::fuzz::IsValidUtf8(beforeZero) && !MayNameACharset(beforeZero) &&
      text != beforeZero) {
    Fail("a valid UTF-8 page naming no character set changed");
  }
  return 0;
}
