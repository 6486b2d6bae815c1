#include "platform/version_resource.h"

#include "platform/file.h"

#include <elf.h>

#include <cstring>
#include <string_view>

namespace tarnwick::platform {
namespace {

// The module file is large (tens of megabytes with its debugging sections): only its header, its
// section table, the section names and the version section are read, each where it lies.
class ModuleFile {
public:
  explicit ModuleFile(const std::string& path)
      : file_(File::Open(path, FileAccess::kRead, FileCreation::kExisting)), size_(file_.Info().size) {}

  bool IsOpen() const { return file_.IsOpen(); }

  // `size` bytes at `offset` into `bytes`; false when they do not lie wholly inside the file.
  bool Read(uint64_t offset, uint64_t size, void* bytes) {
    if (offset > size_ || size_ - offset < size) return false;
    uint64_t done = 0;
    while (done < size) {
      const int64_t got = file_.ReadAt(static_cast<char*>(bytes) + done, size - done, offset + done);
      if (got <= 0) return false;
      done += static_cast<uint64_t>(got);
    }
    return true;
  }

  template <typename T>
  bool ReadStruct(uint64_t offset, T& value) {
    return Read(offset, sizeof(T), &value);
  }

  bool ReadText(uint64_t offset, uint64_t size, std::string& text) {
    if (offset > size_ || size_ - offset < size) return false;
    text.assign(size, '\0');
    return Read(offset, size, text.data());
  }

private:
  File file_;
  uint64_t size_;
};

// The bytes of the named section of a 64-bit ELF file, or nullopt.
std::optional<std::string> FindSection(ModuleFile& file, std::string_view name) {
  Elf64_Ehdr header{};
  if (!file.ReadStruct(0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr)) {
    return std::nullopt;
  }
  Elf64_Shdr names{};
  std::string nameTable;
  if (!file.ReadStruct(header.e_shoff + uint64_t{header.e_shstrndx} * sizeof(Elf64_Shdr), names) ||
      !file.ReadText(names.sh_offset, names.sh_size, nameTable)) {
    return std::nullopt;
  }
  for (uint16_t i = 0; i < header.e_shnum; ++i) {
    Elf64_Shdr section{};
    if (!file.ReadStruct(header.e_shoff + uint64_t{i} * sizeof(Elf64_Shdr), section)) return std::nullopt;
    if (section.sh_name >= nameTable.size()) continue;
    if (std::string_view(nameTable.c_str() + section.sh_name) != name) continue;
    std::string bytes;
    if (!file.ReadText(section.sh_offset, section.sh_size, bytes)) return std::nullopt;
    return bytes;
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
  ModuleFile file(modulePath);
  if (!file.IsOpen()) return std::nullopt;
  std::optional<std::string> section = FindSection(file, kVersionSectionName);
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
