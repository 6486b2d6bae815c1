#include "core/window_model.h"

#include <algorithm>

namespace tarnwick::host {
namespace {

class ModelWindows : public platform::HostWindows {
public:
  explicit ModelWindows(std::weak_ptr<WindowModel> model) : model_(std::move(model)) {}

  bool HasMainWindow() override {
    auto model = model_.lock();
    return model && model->HasMainWindow();
  }
  std::vector<std::string> MailboxWindowTitles() override {
    std::vector<std::string> titles;
    auto model = model_.lock();
    if (!model || !model->HasMainWindow()) return titles;
    for (const MailboxWindow& window : model->MailboxWindows()) titles.push_back(window.title);
    return titles;
  }
  bool CloseMailboxWindow(const std::string& title) override {
    auto model = model_.lock();
    return model && model->HasMainWindow() && model->CloseMailboxWindow(title);
  }
  bool BringMainWindowForward() override {
    auto model = model_.lock();
    return model && model->BringMainWindowForward();
  }
  bool SetStatusText(const std::string& text) override {
    auto model = model_.lock();
    return model && model->SetStatusText(text);
  }

private:
  std::weak_ptr<WindowModel> model_;
};

}  // namespace

void WindowModel::SetMainWindowPresent(bool present) {
  {
    std::lock_guard lock(mutex_);
    mainWindow_ = present;
    if (!present) windows_.clear();
  }
  Changed();
}

bool WindowModel::HasMainWindow() const {
  std::lock_guard lock(mutex_);
  return mainWindow_;
}

void WindowModel::OpenMailboxWindow(int32_t mailboxId, const std::string& title) {
  {
    std::lock_guard lock(mutex_);
    auto open = std::find_if(windows_.begin(), windows_.end(),
                             [&](const MailboxWindow& window) { return window.mailboxId == mailboxId; });
    if (open != windows_.end()) windows_.erase(open);
    windows_.insert(windows_.begin(), MailboxWindow{mailboxId, title});
  }
  Changed();
}

std::vector<MailboxWindow> WindowModel::MailboxWindows() const {
  std::lock_guard lock(mutex_);
  return windows_;
}

bool WindowModel::CloseMailboxWindow(const std::string& title) {
  return CloseTopmost([&](const MailboxWindow& window) { return window.title == title; });
}

bool WindowModel::CloseMailboxWindowOf(int32_t mailboxId) {
  return CloseTopmost([&](const MailboxWindow& window) { return window.mailboxId == mailboxId; });
}

bool WindowModel::CloseTopmost(const std::function<bool(const MailboxWindow&)>& matches) {
  {
    std::lock_guard lock(mutex_);
    auto open = std::find_if(windows_.begin(), windows_.end(), matches);
    if (open == windows_.end()) return false;
    windows_.erase(open);
  }
  Changed();
  return true;
}

bool WindowModel::BringMainWindowForward() {
  {
    std::lock_guard lock(mutex_);
    if (!mainWindow_) return false;
    ++broughtForward_;
  }
  Changed();
  return true;
}

int WindowModel::TimesBroughtForward() const {
  std::lock_guard lock(mutex_);
  return broughtForward_;
}

bool WindowModel::SetStatusText(const std::string& text) {
  {
    std::lock_guard lock(mutex_);
    if (!mainWindow_) return false;
    statusText_ = text;
  }
  Changed();
  return true;
}

std::string WindowModel::StatusText() const {
  std::lock_guard lock(mutex_);
  return statusText_;
}

void WindowModel::SetChangeListener(ChangeListener listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::move(listener);
}

void WindowModel::Changed() {
  ChangeListener listener;
  {
    std::lock_guard lock(mutex_);
    listener = listener_;
  }
  if (listener) listener();
}

platform::HostWindowsPointer MakeHostWindows(std::weak_ptr<WindowModel> model) {
  return std::make_shared<ModelWindows>(std::move(model));
}

}  // namespace tarnwick::host
