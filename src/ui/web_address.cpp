#include "ui/web_address.h"

#include "platform/text.h"

#include <array>

namespace tarnwick::ui {
namespace {

constexpr std::array<std::string_view, 2> kWebSchemes = {"http://", "https://"};

}  // namespace

bool IsWebAddress(std::string_view link) {
  for (const std::string_view scheme : kWebSchemes) {
    if (link.size() > scheme.size() && platform::EqualsIgnoreCase(link.substr(0, scheme.size()), scheme)) return true;
  }
  return false;
}

}  // namespace tarnwick::ui
