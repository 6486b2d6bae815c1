#include "feed/download_proxy.h"

#include "platform/text.h"

#include <mutex>

namespace tarnwick::feed {
namespace {

constexpr char kEnvironmentText[] = "environment";
constexpr char kNoneText[] = "none";

std::mutex& ProxyLock() {
  static std::mutex lock;
  return lock;
}

ProxySetting& Current() {
  static ProxySetting setting;
  return setting;
}

}  // namespace

ProxySetting ParseProxySetting(std::string_view text) {
  const std::string trimmed = platform::TrimWhiteSpace(text);
  if (trimmed.empty() || platform::EqualsIgnoreCase(trimmed, kEnvironmentText)) return {};
  if (platform::EqualsIgnoreCase(trimmed, kNoneText)) return {ProxySetting::Kind::kNone, {}};
  return {ProxySetting::Kind::kGiven, trimmed};
}

std::string ProxySettingText(const ProxySetting& setting) {
  switch (setting.kind) {
    case ProxySetting::Kind::kNone:
      return kNoneText;
    case ProxySetting::Kind::kGiven:
      return setting.url;
    case ProxySetting::Kind::kEnvironment:
      break;
  }
  return kEnvironmentText;
}

void UseProxy(const ProxySetting& setting) {
  std::lock_guard guard(ProxyLock());
  Current() = setting;
}

ProxySetting CurrentProxy() {
  std::lock_guard guard(ProxyLock());
  return Current();
}

}  // namespace tarnwick::feed
