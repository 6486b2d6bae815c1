#pragma once

#include "core/host_core.h"
#include "core/plugin_set.h"
#include "gui/host_frame.h"
#include "probe/gui_probe.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <wx/gdicmn.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

class wxWindow;

namespace tarnwick::host::gui::test {

/// A message in the layout plug-ins deliver: separator, headers, empty line, an HTML body between
/// "<x-html>" markers, CR LF line ends.
std::string HtmlMessage(const std::string& subject, const std::string& from, const std::string& body);

/// A host with its windows on a data folder of In, Out, Trash, a top-level Archive and the folder
/// News holding Tech (two messages, one of them read) and World (one unread message), with the
/// probe plug-in (or another module) in its plug-ins folder. The host is published, so plug-in code in this program
/// connects to it as a module inside tarnwick-host does.
class HostGuiTest : public testing::Test {
protected:
  /// Loads `pluginFile` instead of the probe (then Probe() must not be used).
  explicit HostGuiTest(std::string pluginFile = TARNWICK_HOST_GUI_PROBE) : pluginFile_(std::move(pluginFile)) {}

  void SetUp() override;
  void TearDown() override;

  HostCore& Core() { return *core_; }
  HostFrame& Frame() { return *frame_; }
  GuiProbe& Probe() { return *probe_; }
  const std::string& DataFolder() const { return folder_.Path(); }
  /// The id of a mailbox by name; fails the test when there is none.
  int32_t MailboxId(const std::string& name);
  /// The label the tree shows for a mailbox or folder.
  std::string TreeLabel(int32_t id);
  /// The status bar's text.
  std::string StatusBarText();

  /// Moves the pointer to a point of `window` (client coordinates) and clicks there.
  void ClickAt(wxWindow* window, const wxPoint& point, bool doubleClick = false);
  /// Double-clicks a mailbox of the tree, as a user opening it, until its window is open.
  void DoubleClickTreeItem(int32_t id);
  /// Clicks a row of the topmost mailbox window's list until it is selected.
  void ClickMessageRow(long row);
  /// Opens a menu of the menu bar from the keyboard and chooses the item with that label.
  void ChooseMenuItem(const std::string& menuTitle, const std::string& itemLabel);

private:
  std::string pluginFile_;
  tarnwick::test::TempDir folder_;
  std::shared_ptr<HostCore> core_;
  std::unique_ptr<PluginSet> plugins_;
  HostFrame* frame_ = nullptr;
  GuiProbe* probe_ = nullptr;
};

}  // namespace tarnwick::host::gui::test
