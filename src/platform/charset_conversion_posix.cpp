#include "platform/charset_conversion.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace tarnwick::platform {

std::optional<std::string> SystemConvertToUtf8(std::string_view bytes, const std::string& charset) {
  iconv_t descriptor = iconv_open("UTF-8", charset.c_str());
  if (descriptor == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
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
    } else if (errno != E2BIG) {
      ok = false;  // EILSEQ: an invalid sequence; EINVAL: the text ends inside a character
    }
  }
  iconv_close(descriptor);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace tarnwick::platform
