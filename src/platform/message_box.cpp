#include "platform/message_box.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace tarnwick::platform {
namespace {

std::mutex& HandlerLock() {
  static std::mutex lock;
  return lock;
}

MessageBoxHandler& CurrentHandler() {
  static MessageBoxHandler handler;
  return handler;
}

}  // namespace

void ShowMessageBox(const std::string& text, const std::string& caption) {
  MessageBoxHandler handler;
  {
    std::lock_guard guard(HandlerLock());
    handler = CurrentHandler();
  }
  if (handler) {
    handler(text, caption);
  } else {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  }
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard guard(HandlerLock());
  return std::exchange(CurrentHandler(), std::move(handler));
}

}  // namespace tarnwick::platform
