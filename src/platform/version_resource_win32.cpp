#include "platform/version_resource.h"
#include "platform/wide_text_win32.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace tarnwick::platform {
namespace {

struct Translation {
  WORD language;
  WORD codePage;
};

std::string StringValue(std::vector<char>& block, const Translation& translation, const char* key) {
  wchar_t query[64];
  std::swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\%hs", translation.language, translation.codePage, key);
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), query, &value, &length) || value == nullptr || length == 0) return {};
  std::wstring text(static_cast<const wchar_t*>(value), length);
  return Utf8FromWide(text.substr(0, text.find(L'\0')));
}

}  // namespace

std::optional<VersionResource> ReadVersionResource(const std::string& modulePath) {
  const std::wstring path = WidePath(modulePath);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<char> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return std::nullopt;
  void* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translations, &length) ||
      length < sizeof(Translation)) {
    return std::nullopt;
  }
  const Translation first = *static_cast<const Translation*>(translations);
  return VersionResource{StringValue(block, first, "ProductName"), StringValue(block, first, "ProductVersion")};
}

}  // namespace tarnwick::platform
