#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::platform {

/// The names in a folder, "." and ".." left out, in the order the system gives them. Nullopt (errno
/// set) when the folder cannot be read.
std::optional<std::vector<std::string>> ListFolder(const std::string& folder);

/// Whether `name` matches the file mask `mask` (* for any characters, ? for one, [...] for a set),
/// without regard to the case of ASCII letters.
bool MatchesMask(std::string_view mask, std::string_view name);

}  // namespace tarnwick::platform
