#pragma once

#include <string>
#include <string_view>

namespace tarnwick::feed {

/// The SHA-1 digest of `bytes` as 40 lower-case hexadecimal digits. Used to give items that carry
/// no identifier of their own a stable one; not for anything that needs a secure hash.
std::string Sha1Hex(std::string_view bytes);

}  // namespace tarnwick::feed
