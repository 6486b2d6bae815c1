// The plug-ins' entries in the host's menus: the Special menu runs a plug-in's hook with the
// host's windows alive around it, and the translator command hands the selected message over and
// takes back what the translator made of it.
#include "core/mbox_format.h"
#include "gui/mailbox_panel.h"
#include "gui_support/gui_test_support.h"
#include "host_gui_fixture.h"
#include "platform/dispatch_ids.h"
#include "platform/dynamic_library.h"
#include "platform/host_connect.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/html/htmlwin.h>
#include <wx/listctrl.h>
#include <wx/menu.h>

#include <filesystem>
#include <functional>

namespace tarnwick::host::gui::test {
namespace {

using tarnwick::test::RunEventsUntil;
using tarnwick::test::WhenModal;

std::vector<std::string> MenuLabels(HostFrame& frame, const std::string& title) {
  std::vector<std::string> labels;
  wxMenu* menu = frame.GetMenuBar()->GetMenu(static_cast<size_t>(frame.GetMenuBar()->FindMenu(title)));
  for (wxMenuItem* item : menu->GetMenuItems()) labels.push_back(item->GetItemLabelText().utf8_string());
  return labels;
}

// What the probe's hook runs: a plug-in's window, modal, doing its work through the automation
// server while the host's windows go on.
void RunHookAction(void* data) {
  (*static_cast<std::function<void()>*>(data))();
}

TEST_F(HostGuiTest, TheSpecialMenuRunsThePlugInsHookWhileTheHostsWindowsGoOn) {
  EXPECT_EQ(MenuLabels(Frame(), "Special"), (std::vector<std::string>{kProbeSpecialEntry}));
  const int32_t tech = MailboxId("Tech");
  Core().Windows()->OpenMailboxWindow(tech, "Tech");
  ASSERT_TRUE(RunEventsUntil([&] { return Frame().PanelOf(tech) != nullptr; }));

  bool statusShownDuringTheDialog = false;
  bool deliveryShownDuringTheDialog = false;
  bool closeRefused = false;
  int dialogResult = 0;
  std::function<void()> action = [&] {
    wxDialog dialog(wxTheApp->GetTopWindow(), wxID_ANY, "Plug-in window");
    WhenModal([&] {
      auto application = platform::ConnectAutomationServer(platform::kMailAutomationProgId).application;
      ASSERT_TRUE(application);
      ASSERT_TRUE(application->Put(platform::kApplicationStatusText, "Checking feeds").ok);
      auto world = application->Call(platform::kApplicationFolderByName, {"World", 1}).value.Object();
      auto techFolder = application->Call(platform::kApplicationFolderByName, {"Tech", 1}).value.Object();
      auto message = world->Get(platform::kFolderMessages, {}).value.Object()->Get(platform::kCollectionItem, {1});
      ASSERT_TRUE(message.value.Object()->Call(platform::kMessageMove, {techFolder}).ok);
      statusShownDuringTheDialog = RunEventsUntil([&] { return StatusBarText() == "Checking feeds"; });
      deliveryShownDuringTheDialog = RunEventsUntil([&] { return Frame().PanelOf(tech)->List()->GetItemCount() == 3; });
      closeRefused = !Frame().Close();
      dialog.EndModal(wxID_OK);
    });
    dialogResult = dialog.ShowModal();
  };
  Probe().hookAction = RunHookAction;
  Probe().hookData = &action;

  ChooseMenuItem("Special", kProbeSpecialEntry);
  ASSERT_TRUE(RunEventsUntil([&] { return Probe().hookCalls == 1; }));
  EXPECT_EQ(Probe().hookEntry, 1);
  EXPECT_EQ(dialogResult, wxID_OK);
  EXPECT_TRUE(statusShownDuringTheDialog);
  EXPECT_TRUE(deliveryShownDuringTheDialog) << "the open mailbox window follows the delivery";
  EXPECT_TRUE(closeRefused) << "the frame stays while the plug-in runs";
  EXPECT_TRUE(Frame().IsShown());
  EXPECT_EQ(TreeLabel(tech), "Tech (2/3)");
  Probe().hookAction = nullptr;
}

TEST_F(HostGuiTest, AHookThatFailsIsReportedInTheStatusBar) {
  Probe().hookResult = 8;
  ChooseMenuItem("Special", kProbeSpecialEntry);
  ASSERT_TRUE(RunEventsUntil([&] { return Probe().hookCalls == 1; }));
  EXPECT_TRUE(RunEventsUntil([&] {
    return StatusBarText() == std::string(kProbeSpecialEntry) + ": the plug-in cannot work with this host (result 8).";
  })) << StatusBarText();
}

TEST(PluginSetFinish, EachModuleIsFinishedOnceWhileItStaysLoaded) {
  tarnwick::test::TempDir dir;
  std::filesystem::copy_file(TARNWICK_HOST_GUI_PROBE,
                             dir.File(std::string("gui_probe") + tarnwick::platform::ModuleFileExtension()));
  std::vector<std::string> problems;
  PluginSet plugins(dir.Path(), problems);
  ASSERT_EQ(plugins.Plugins().size(), 1u);
  const LoadedPlugin& probe = plugins.Plugins()[0];
  ASSERT_EQ(probe.specialMenuEntries.size(), 1u);
  EXPECT_EQ(probe.specialMenuEntries[0].id, 1);
  EXPECT_EQ(probe.translators[0].id, 1);
  GuiProbe* record = reinterpret_cast<GuiProbeRecordFunction>(plugins.FindExport("probe_record"))();
  EXPECT_EQ(record->outstandingBlocks, 0) << "every name the module handed over went back";
  plugins.FinishAll();
  plugins.FinishAll();
  EXPECT_EQ(record->finishCalls, 1) << "and not again when the set goes";
}

class TranslatorTest : public HostGuiTest {
protected:
  // Adds a message whose body has a line that the mailbox file keeps escaped, opens Tech and
  // selects that message.
  void SelectEscapedMessage() {
    SelectNewMessage(HtmlMessage("Escaped lines", "Tech Desk", "<p>One</p>\r\n>From the desk"));
  }
  // Adds the message to Tech (after its two), opens Tech and selects the message.
  void SelectNewMessage(const std::string& stored) {
    tech_ = MailboxId("Tech");
    ASSERT_TRUE(Core().Store().AddMessage(tech_, stored, kStateUnread, &messageId_).ok);
    ASSERT_TRUE(Core().Store().ReadMessage(tech_, messageId_, before_).ok);
    Core().Windows()->OpenMailboxWindow(tech_, "Tech");
    ASSERT_TRUE(RunEventsUntil([&] { return Frame().PanelOf(tech_) != nullptr; }));
    ClickMessageRow(2);
    ASSERT_TRUE(RunEventsUntil([&] { return Frame().PanelOf(tech_)->SelectedMessage() == messageId_; }));
  }
  std::string Stored() {
    std::string stored;
    EXPECT_TRUE(Core().Store().ReadMessage(tech_, messageId_, stored).ok);
    return stored;
  }

  int32_t tech_ = 0;
  uint32_t messageId_ = 0;
  std::string before_;
};

TEST_F(TranslatorTest, TheTranslatorGetsTheSelectedMessageAndItsOutputReplacesIt) {
  EXPECT_EQ(MenuLabels(Frame(), "Message"), (std::vector<std::string>{kProbeTranslator}));
  SelectEscapedMessage();
  Probe().translatedBody = "<p>The whole article.</p>\r\nFrom the source";
  ChooseMenuItem("Message", kProbeTranslator);
  ASSERT_TRUE(RunEventsUntil([&] { return Probe().translateCalls == 1; }));

  EXPECT_EQ(Probe().canTranslateCalls, 1);
  EXPECT_EQ(Probe().mimeType, "text/html");
  EXPECT_NE(Probe().context & 0x1204, 0);
  EXPECT_EQ(Probe().subject, "Escaped lines");
  const StoredMessageParts parts = SplitStoredMessage(before_);
  const std::string headerLines(parts.headerBlock.substr(0, parts.headerBlock.size() - 4));
  EXPECT_EQ(Probe().rawHeaders, headerLines);
  EXPECT_EQ(Probe().inputText, headerLines + "\r\n\r\n<x-html><p>One</p>\r\nFrom the desk</x-html>\r\n")
      << "the input file holds the headers and the body as a reader sees it";

  const std::string after = Stored();
  EXPECT_TRUE(after.starts_with(std::string(parts.separatorLine) + headerLines + "\r\n\r\n"));
  EXPECT_NE(after.find("\r\n>From the source</x-html>\r\n"), std::string::npos) << "escaped in the file: " << after;
  EXPECT_EQ(Frame().PanelOf(tech_)->SelectedMessage(), messageId_) << "the message keeps its place and id";
  wxHtmlWindow* preview = Frame().PanelOf(tech_)->Preview();
  EXPECT_TRUE(RunEventsUntil([&] { return preview->ToText().Contains("The whole article."); })) << preview->ToText();
  EXPECT_EQ(StatusBarText(), std::string(kProbeTranslator) + ": the message was replaced by the translation.");
  EXPECT_EQ(Probe().outstandingBlocks, 0) << "the output's MIME record went back through ems_free";
}

TEST_F(TranslatorTest, OtherResultsLeaveTheMessageAsItWas) {
  SelectEscapedMessage();
  const std::string statusBefore = StatusBarText();
  Probe().translateResult = 11;  // the plug-in showed the message in its own window
  ChooseMenuItem("Message", kProbeTranslator);
  ASSERT_TRUE(RunEventsUntil([&] { return Probe().translateCalls == 1; }));
  EXPECT_EQ(Stored(), before_);
  EXPECT_EQ(StatusBarText(), statusBefore);

  Probe().translateResult = 12;
  ChooseMenuItem("Message", kProbeTranslator);
  ASSERT_TRUE(RunEventsUntil([&] { return Probe().translateCalls == 2; }));
  EXPECT_EQ(Stored(), before_);
  EXPECT_TRUE(RunEventsUntil([&] {
    return StatusBarText() == std::string(kProbeTranslator) + ": the page could not be downloaded (result 12).";
  })) << StatusBarText();
  EXPECT_EQ(Probe().outstandingBlocks, 0);
}

TEST_F(TranslatorTest, AMessageTheTranslatorDeclinesIsNotHandedOver) {
  SelectNewMessage("From ???@??? Tue Jun  3 04:05:09 2003\r\nSubject: Plain\r\n\r\nJust text.\r\n");

  ChooseMenuItem("Message", kProbeTranslator);
  ASSERT_TRUE(RunEventsUntil([&] { return Probe().canTranslateCalls == 1; }));
  EXPECT_EQ(Probe().mimeType, "text/plain") << "no Content-Type line";
  EXPECT_EQ(Probe().translateCalls, 0);
  EXPECT_EQ(Stored(), before_);
  EXPECT_EQ(StatusBarText(), std::string(kProbeTranslator) + ": it cannot translate this message (result 2).");
}

}  // namespace
}  // namespace tarnwick::host::gui::test
