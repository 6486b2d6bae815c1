#pragma once

#include <string>

namespace tarnwick::platform {

/// Reads the whole file into `bytes`. False (and `bytes` empty) when it cannot be opened or read.
bool ReadFileIfPresent(const std::string& path, std::string& bytes);
/// The system's text for an error number (errno).
std::string SystemErrorText(int errorNumber);

}  // namespace tarnwick::platform
