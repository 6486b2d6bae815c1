#include "platform/charset_conversion.h"

#include "platform/text.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace tarnwick::platform {
namespace {

constexpr char kReplacementCharacter[] = "\xEF\xBF\xBD";

// Bytes of one code unit of the wide encodings; 1 for every other encoding. An invalid unit is
// skipped whole, so that the rest of the text keeps its alignment.
size_t UnitBytes(const std::string& charset) {
  const std::string name = ToLowerAscii(charset);
  if (name.starts_with("utf-16")) return 2;
  if (name.starts_with("utf-32")) return 4;
  return 1;
}

}  // namespace

std::optional<std::string> SystemConvertToUtf8(std::string_view bytes, const std::string& charset,
                                               InvalidBytes invalid) {
  iconv_t descriptor = iconv_open("UTF-8", charset.c_str());
  if (descriptor == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  const bool replace = invalid == InvalidBytes::kReplace;
  const size_t unit = UnitBytes(charset);
  std::string out;
  std::array<char, 4096> buffer{};
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  bool ok = true;
  while (ok) {
    char* write = buffer.data();
    size_t outLeft = buffer.size();
    // A call with no input flushes the shift state at the end.
    const size_t result = inLeft > 0 ? iconv(descriptor, &in, &inLeft, &write, &outLeft)
                                     : iconv(descriptor, nullptr, nullptr, &write, &outLeft);
    out.append(buffer.data(), buffer.size() - outLeft);
    if (result != static_cast<size_t>(-1)) {
      if (inLeft == 0) break;
    } else if (errno == EILSEQ && replace) {
      out += kReplacementCharacter;
      const size_t skipped = std::min(unit, inLeft);
      in += skipped;
      inLeft -= skipped;
    } else if (errno == EINVAL && replace) {
      out += kReplacementCharacter;  // the text ends inside a character
      inLeft = 0;
    } else if (errno != E2BIG) {
      ok = false;  // EILSEQ: an invalid sequence; EINVAL: the text ends inside a character
    }
  }
  iconv_close(descriptor);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace tarnwick::platform
