#include "host_gui_fixture.h"

#include "core/host_registry.h"
#include "gui/mailbox_panel.h"
#include "gui/mailbox_tree_view.h"
#include "gui_support/gui_test_support.h"
#include "support/module_install.h"

#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <utility>
#include <vector>

namespace tarnwick::host::gui::test {
namespace {

using namespace std::chrono_literals;
using tarnwick::test::RunEventsFor;
using tarnwick::test::RunEventsUntil;
using tarnwick::test::WriteFileBytes;

constexpr int kClickAttempts = 3;

void PointerTo(const wxPoint& screenPoint) {
  wxUIActionSimulator simulator;
  simulator.MouseMove(screenPoint);
  RunEventsFor(50ms);
}

// Types keys one after another from a timer. An open menu runs a loop of its own on some systems
// (Windows), inside whatever handles the events when it opens: a test waiting there for the menu
// to come up could not go on to type the next key, but the loop still delivers the timer's ticks.
class KeysFromTimer : public wxTimer {
public:
  explicit KeysFromTimer(std::vector<int> keys) : keys_(std::move(keys)) {}
  void Notify() override {
    if (next_ < keys_.size()) wxUIActionSimulator().Char(keys_[next_++]);
    if (next_ == keys_.size()) Stop();
  }
  bool Done() const { return next_ == keys_.size(); }

private:
  std::vector<int> keys_;
  size_t next_ = 0;
};

}  // namespace

std::string HtmlMessage(const std::string& subject, const std::string& from, const std::string& body) {
  return "From ???@??? Tue Jun  3 04:05:09 2003\r\n"
         "From: " +
         from +
         "\r\n"
         "Subject: " +
         subject +
         "\r\n"
         "Date: Tue, 03 Jun 2003 04:05:09 +0000\r\n"
         "Website: http://127.0.0.1:9/article\r\n"
         "Content-Type: text/html\r\n"
         "\r\n"
         "<x-html>" +
         body + "</x-html>\r\n";
}

void HostGuiTest::SetUp() {
  const std::string folder = folder_.Path();
  std::filesystem::create_directories(folder + "/News.fol");
  std::filesystem::create_directories(folder + "/plugins");
  WriteFileBytes(folder + "/News.fol/World.mbx",
                 HtmlMessage("Elections held", "World Desk", "<p>Votes were cast.</p>"));
  WriteFileBytes(folder + "/News.fol/Tech.mbx",
                 HtmlMessage("Compiler released", "Tech Desk <tech@example.org>", "<p>A <b>new</b> compiler.</p>") +
                     HtmlMessage("Kernel news", "Tech Desk", "<p>The kernel.</p>"));
  WriteFileBytes(folder + "/Archive.mbx", "");
  tarnwick::test::InstallModule(pluginFile_, folder + "/plugins");

  std::string errorText;
  core_ = HostCore::Open(folder, {}, errorText);
  ASSERT_TRUE(core_) << errorText;
  const int32_t tech = MailboxId("Tech");
  uint32_t second = 0;
  ASSERT_TRUE(core_->Store().MessageIdAt(tech, 1, &second).ok);
  ASSERT_TRUE(core_->Store().SetMessageState(tech, second, kStateRead).ok);
  PublishHost(core_);

  std::vector<std::string> problems;
  plugins_ = std::make_unique<PluginSet>(folder + "/plugins", problems);
  ASSERT_TRUE(problems.empty()) << problems.front();
  if (pluginFile_ == TARNWICK_HOST_GUI_PROBE) {
    auto record = reinterpret_cast<GuiProbeRecordFunction>(plugins_->FindExport("probe_record"));
    ASSERT_NE(record, nullptr);
    probe_ = record();
  }

  frame_ = new HostFrame(*core_, *plugins_);
  frame_->Move(0, 0);
  frame_->Show();
  frame_->Raise();
  RunEventsFor(300ms);
}

void HostGuiTest::TearDown() {
  if (frame_ != nullptr) {
    frame_->Destroy();
    RunEventsFor(100ms);
  }
  plugins_.reset();
  if (core_) WithdrawHost(core_.get());
}

int32_t HostGuiTest::MailboxId(const std::string& name) {
  const int32_t id = core_->Store().FindMailboxOrFolder(name);
  EXPECT_NE(id, 0) << name;
  return id;
}

std::string HostGuiTest::TreeLabel(int32_t id) {
  const wxTreeItemId item = frame_->Tree()->ItemOf(id);
  return item.IsOk() ? frame_->Tree()->GetItemText(item).utf8_string() : std::string();
}

std::string HostGuiTest::StatusBarText() {
  return frame_->GetStatusBar()->GetStatusText().utf8_string();
}

void HostGuiTest::ClickAt(wxWindow* window, const wxPoint& point, bool doubleClick) {
  PointerTo(window->ClientToScreen(point));
  wxUIActionSimulator simulator;
  if (doubleClick) {
    simulator.MouseDblClick();
  } else {
    simulator.MouseClick();
  }
  RunEventsFor(150ms);
}

void HostGuiTest::DoubleClickTreeItem(int32_t id) {
  // On a loaded machine a click can come before the window's last layout: it is tried again
  // until it has its effect.
  for (int attempt = 0; attempt < kClickAttempts; ++attempt) {
    const wxTreeItemId item = frame_->Tree()->ItemOf(id);
    wxRect rect;
    ASSERT_TRUE(item.IsOk() && frame_->Tree()->GetBoundingRect(item, rect, true));
    ClickAt(frame_->Tree(), rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2), true);
    if (RunEventsUntil([&] { return frame_->PanelOf(id) != nullptr; }, 2s)) return;
  }
  FAIL() << "the mailbox did not open";
}

void HostGuiTest::ClickMessageRow(long row) {
  for (int attempt = 0; attempt < kClickAttempts; ++attempt) {
    MailboxPanel* panel = frame_->TopmostPanel();
    ASSERT_NE(panel, nullptr);
    wxListCtrl* list = panel->List();
    RunEventsUntil([&] { return list->IsShownOnScreen() && list->GetItemCount() > row; });
    wxRect rect;
    ASSERT_TRUE(list->GetItemRect(row, rect));
    ClickAt(list, rect.GetPosition() + wxPoint(40, rect.height / 2));
    const auto selected = [&] { return list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED) == row; };
    if (RunEventsUntil(selected, 2s)) return;
  }
  FAIL() << "row " << row << " was not selected";
}

void HostGuiTest::ChooseMenuItem(const std::string& menuTitle, const std::string& itemLabel) {
  wxMenuBar* bar = frame_->GetMenuBar();
  const int menuIndex = bar->FindMenu(menuTitle);
  ASSERT_NE(menuIndex, wxNOT_FOUND) << menuTitle;
  // Steps down from the first item to the one wanted, over the items a user can choose.
  int steps = 0;
  bool found = false;
  for (wxMenuItem* item : bar->GetMenu(static_cast<size_t>(menuIndex))->GetMenuItems()) {
    if (item->GetItemLabelText().utf8_string() == itemLabel) {
      found = true;
      break;
    }
    if (!item->IsSeparator() && item->IsEnabled()) ++steps;
  }
  ASSERT_TRUE(found) << itemLabel;
  frame_->Raise();
  frame_->SetFocus();
  RunEventsFor(100ms);
  std::vector<int> keys(static_cast<size_t>(steps), WXK_DOWN);
  keys.push_back(WXK_RETURN);
  KeysFromTimer typing(std::move(keys));
  typing.Start(150);
  wxUIActionSimulator().Char(static_cast<int>(wxTolower(menuTitle.front())), wxMOD_ALT);
  ASSERT_TRUE(RunEventsUntil([&] { return typing.Done(); })) << "the menu did not take its keys";
  RunEventsFor(200ms);
}

}  // namespace tarnwick::host::gui::test
