#pragma once

// A real host over a scratch data folder, published in this program so that the dialogs reach it
// through the automation interface as the plug-in does, and a recorder of the message boxes shown.

#include "core/host_core.h"
#include "core/host_registry.h"
#include "platform/message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tarnwick::test {

class HostFixture : public ::testing::Test {
protected:
  void SetUp() override {
    std::string errorText;
    core_ = host::HostCore::Open(data_.Path(), options_, errorText);
    ASSERT_TRUE(core_) << errorText;
    host::PublishHost(core_);
    previousHandler_ = platform::SetMessageBoxHandler(
        [this](const std::string& text, const std::string&) { messageBoxes_.push_back(text); });
  }
  void TearDown() override {
    platform::SetMessageBoxHandler(previousHandler_);
    host::WithdrawHost(core_.get());
  }

  /// Creates a mailbox or folder in a folder (0: at the top) and gives its id.
  int32_t Create(int32_t parent, const std::string& name, bool isMailbox) {
    int32_t id = 0;
    EXPECT_TRUE(core_->Store().Create(parent, name, isMailbox, &id, nullptr).ok) << name;
    return id;
  }

  /// Creates the folder News holding the mailboxes World and Tech (made in that order).
  void CreateNews() {
    const int32_t news = Create(0, "News", false);
    Create(news, "World", true);
    Create(news, "Tech", true);
  }

  TempDir data_;
  host::HostOptions options_;
  std::shared_ptr<host::HostCore> core_;
  std::vector<std::string> messageBoxes_;
  platform::MessageBoxHandler previousHandler_;
};

}  // namespace tarnwick::test
