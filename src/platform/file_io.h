#pragma once

#include <string>
#include <string_view>

namespace tarnwick::platform {

/// Reads the whole file into `bytes`. False (and `bytes` empty) when it cannot be opened or read.
bool ReadFileIfPresent(const std::string& path, std::string& bytes);
/// Writes all bytes to the descriptor, going on after short writes and interruptions.
/// False on the first error (a full disk, for instance).
bool WriteAll(int fd, std::string_view bytes);
/// The system's text for an error number (errno).
std::string SystemErrorText(int errorNumber);

}  // namespace tarnwick::platform
