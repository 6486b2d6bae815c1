#pragma once

#include <optional>
#include <string>

namespace tarnwick::platform {

/// Name of the section of a module file that holds its version texts: pairs of zero-terminated
/// texts, key then value ("ProductName", "Tarnwick", "ProductVersion", "1, 0, 0, 0"), ended by an
/// empty key. A module embeds it with TARNWICK_VERSION_RESOURCE below.
inline constexpr char kVersionSectionName[] = ".tarnwick_version";

/// The version texts of a module file.
struct VersionResource {
  std::string productName;
  std::string productVersion;
};

/// Reads the version texts back from a module file (an ELF shared object or program).
/// Nullopt when the file cannot be read, is not ELF, or has no version section.
std::optional<VersionResource> ReadVersionResource(const std::string& modulePath);

}  // namespace tarnwick::platform

/// Embeds the version texts of the module being built. Use once, at namespace scope, with
/// literal texts: TARNWICK_VERSION_RESOURCE("Tarnwick", "1, 0, 0, 0");
#define TARNWICK_VERSION_RESOURCE(productName, productVersion)                                          \
  extern "C" __attribute__((used, section(".tarnwick_version"))) const char tarnwick_version_resource[] = \
      "ProductName\0" productName "\0ProductVersion\0" productVersion "\0"
