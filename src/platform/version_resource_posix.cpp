#include "platform/version_resource.h"

#include "platform/file_io.h"

#include <elf.h>

#include <cstring>
#include <string_view>

namespace tarnwick::platform {
namespace {

// A struct of type T at `offset` of the file, or false when it does not lie wholly inside.
template <typename T>
bool ReadAt(std::string_view file, uint64_t offset, T& value) {
  if (offset > file.size() || file.size() - offset < sizeof(T)) return false;
  std::memcpy(&value, file.data() + offset, sizeof(T));
  return true;
}

// The bytes of the named section of a 64-bit ELF file, or nullopt.
std::optional<std::string_view> FindSection(std::string_view file, std::string_view name) {
  Elf64_Ehdr header{};
  if (!ReadAt(file, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr)) {
    return std::nullopt;
  }
  Elf64_Shdr names{};
  if (!ReadAt(file, header.e_shoff + uint64_t{header.e_shstrndx} * sizeof(Elf64_Shdr), names)) return std::nullopt;
  for (uint16_t i = 0; i < header.e_shnum; ++i) {
    Elf64_Shdr section{};
    if (!ReadAt(file, header.e_shoff + uint64_t{i} * sizeof(Elf64_Shdr), section)) return std::nullopt;
    uint64_t nameOffset = names.sh_offset + section.sh_name;
    if (names.sh_offset > file.size() || section.sh_name >= names.sh_size || nameOffset >= file.size()) continue;
    std::string_view sectionName(file.data() + nameOffset, strnlen(file.data() + nameOffset, file.size() - nameOffset));
    if (sectionName != name) continue;
    if (section.sh_offset > file.size() || file.size() - section.sh_offset < section.sh_size) return std::nullopt;
    return file.substr(section.sh_offset, section.sh_size);
  }
  return std::nullopt;
}

// The next zero-terminated text of `bytes`, consumed; empty at the end.
std::string_view TakeText(std::string_view& bytes) {
  size_t end = bytes.find('\0');
  std::string_view text = bytes.substr(0, end);
  bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
  return text;
}

}  // namespace

std::optional<VersionResource> ReadVersionResource(const std::string& modulePath) {
  std::string file;
  if (!ReadFileIfPresent(modulePath, file)) return std::nullopt;
  std::optional<std::string_view> section = FindSection(file, kVersionSectionName);
  if (!section) return std::nullopt;
  VersionResource resource;
  std::string_view bytes = *section;
  for (std::string_view key = TakeText(bytes); !key.empty(); key = TakeText(bytes)) {
    std::string_view value = TakeText(bytes);
    if (key == "ProductName") resource.productName = value;
    if (key == "ProductVersion") resource.productVersion = value;
  }
  return resource;
}

}  // namespace tarnwick::platform
