// The host frame's menus, and the calls into plug-ins they make: Special-menu entries and
// message translators.
#include "core/message_translation.h"
#include "gui/gui_texts.h"
#include "gui/host_frame.h"
#include "gui/mailbox_panel.h"

#include <wx/menu.h>

namespace tarnwick::host::gui {
namespace {

constexpr int kFirstPluginCommand = wxID_HIGHEST + 100;
constexpr int kOpenMailboxCommand = wxID_HIGHEST + 1;

// Counts a plug-in call for as long as it runs.
class PluginCall {
public:
  explicit PluginCall(int& calls) : calls_(calls) { ++calls_; }
  ~PluginCall() { --calls_; }
  PluginCall(const PluginCall&) = delete;
  PluginCall& operator=(const PluginCall&) = delete;

private:
  int& calls_;
};

}  // namespace

void HostFrame::BuildMenus() {
  const std::vector<LoadedPlugin>& plugins = plugins_.Plugins();
  for (size_t plugin = 0; plugin < plugins.size(); ++plugin) {
    for (const PluginEntry& entry : plugins[plugin].specialMenuEntries) {
      if (plugins[plugin].specialHook != nullptr) commands_.push_back({false, plugin, entry.id, entry.name});
    }
    for (const PluginEntry& translator : plugins[plugin].translators) {
      if (plugins[plugin].translateFile != nullptr) commands_.push_back({true, plugin, translator.id, translator.name});
    }
  }

  auto* file = new wxMenu;
  file->Append(kOpenMailboxCommand, kOpenMailboxItem);
  file->Append(wxID_CLOSE, kCloseMailboxItem);
  file->AppendSeparator();
  file->Append(wxID_EXIT, kQuitItem);
  auto* message = new wxMenu;
  auto* special = new wxMenu;
  for (size_t index = 0; index < commands_.size(); ++index) {
    const PluginCommand& command = commands_[index];
    (command.translator ? message : special)
        ->Append(kFirstPluginCommand + static_cast<int>(index), wxString::FromUTF8(command.label));
  }
  if (message->GetMenuItemCount() == 0) message->Append(wxID_ANY, kNoTranslatorsItem)->Enable(false);
  if (special->GetMenuItemCount() == 0) special->Append(wxID_ANY, kNoSpecialEntriesItem)->Enable(false);

  auto* bar = new wxMenuBar;
  bar->Append(file, kFileMenu);
  bar->Append(message, kMessageMenu);
  bar->Append(special, kSpecialMenu);
  SetMenuBar(bar);

  Bind(wxEVT_MENU, &HostFrame::OnOpenMailbox, this, kOpenMailboxCommand);
  Bind(wxEVT_MENU, &HostFrame::OnCloseMailbox, this, wxID_CLOSE);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, wxID_EXIT);
  if (commands_.empty()) return;
  const int lastCommand = kFirstPluginCommand + static_cast<int>(commands_.size()) - 1;
  Bind(wxEVT_MENU, &HostFrame::OnPluginCommand, this, kFirstPluginCommand, lastCommand);
  Bind(wxEVT_UPDATE_UI, &HostFrame::OnUpdateTranslator, this, kFirstPluginCommand, lastCommand);
}

void HostFrame::OnPluginCommand(wxCommandEvent& event) {
  const size_t index = static_cast<size_t>(event.GetId() - kFirstPluginCommand);
  if (index >= commands_.size()) return;
  const PluginCommand command = commands_[index];
  if (command.translator) {
    RunTranslator(command);
  } else {
    RunSpecialEntry(command);
  }
}

void HostFrame::OnUpdateTranslator(wxUpdateUIEvent& event) {
  const size_t index = static_cast<size_t>(event.GetId() - kFirstPluginCommand);
  if (index >= commands_.size() || !commands_[index].translator) return;
  MailboxPanel* panel = TopmostPanel();
  event.Enable(panel != nullptr && panel->SelectedMessage() != 0);
}

void HostFrame::RunSpecialEntry(const PluginCommand& command) {
  const LoadedPlugin& plugin = plugins_.Plugins()[command.plugin];
  EmsMenu menu{sizeof(EmsMenu), command.entryId, nullptr, nullptr, 0};
  int32_t result = 0;
  {
    // The plug-in may run its own windows, modal ones among them, before it returns: this frame's
    // events go on meanwhile, and its refreshes with them.
    PluginCall call(pluginCalls_);
    result = plugin.specialHook(nullptr, &menu);
  }
  const std::string text = SpecialResultText(command.label, result);
  if (!text.empty()) core_.Windows()->SetStatusText(text);
}

void HostFrame::RunTranslator(const PluginCommand& command) {
  MailboxPanel* panel = TopmostPanel();
  const uint32_t messageId = panel != nullptr ? panel->SelectedMessage() : 0;
  if (messageId == 0) return;
  const int32_t mailboxId = panel->MailboxId();
  TranslationOutcome outcome;
  {
    PluginCall call(pluginCalls_);
    outcome =
        TranslateMessage(core_.Store(), mailboxId, messageId, plugins_.Plugins()[command.plugin], command.entryId);
  }
  const std::string text = TranslationStatusText(command.label, outcome.result, outcome.replaced, outcome.errorText);
  if (!text.empty()) core_.Windows()->SetStatusText(text);
}

}  // namespace tarnwick::host::gui
