#include "gui/host_gui.h"

#include "core/plugin_set.h"
#include "gui/gui_texts.h"
#include "gui/host_frame.h"

#include <wx/app.h>
#include <wx/init.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>

#include <memory>
#include <ostream>

namespace tarnwick::host::gui {
namespace {

constexpr char kProgramName[] = "tarnwick-host";

class HostApp : public wxApp {
public:
  HostApp(HostCore& core, std::string pluginsFolder, std::ostream& err)
      : core_(core), pluginsFolder_(std::move(pluginsFolder)), err_(err) {}

  bool OnInit() override {
    // The plug-ins are loaded once the toolkit runs, so that they find this application and make
    // their windows in it.
    std::vector<std::string> problems;
    plugins_ = std::make_unique<PluginSet>(pluginsFolder_, problems);
    for (const std::string& problem : problems) err_ << kProgramName << ": " << kPluginSkippedText << problem << "\n";
    auto* frame = new HostFrame(core_, *plugins_);
    // Closing the main window ends the program, even while a plug-in's own windows are up.
    frame->Bind(wxEVT_DESTROY, [frame](wxWindowDestroyEvent& event) {
      if (event.GetEventObject() == frame) wxTheApp->ExitMainLoop();
      event.Skip();
    });
    SetTopWindow(frame);
    frame->Show();
    return true;
  }

  int OnExit() override {
    if (plugins_) {
      plugins_->FinishAll();
      // Windows that plug-ins left open are theirs: they go while the plug-ins' code is there.
      DeletePendingObjects();
      while (!wxTopLevelWindows.empty()) delete wxTopLevelWindows.GetFirst()->GetData();
      plugins_.reset();
    }
    return wxApp::OnExit();
  }

private:
  HostCore& core_;
  std::string pluginsFolder_;
  std::ostream& err_;
  std::unique_ptr<PluginSet> plugins_;
};

}  // namespace

int RunHostGui(HostCore& core, const std::string& pluginsFolder, std::ostream& err) {
  std::string name = kProgramName;
  char* argv[] = {name.data(), nullptr};
  int argc = 1;
  wxApp::SetInstance(new HostApp(core, pluginsFolder, err));
  if (!wxEntryStart(argc, argv)) {
    err << kProgramName << ": " << kNoDisplayText << "\n";
    return 1;
  }
  int code = 1;
  if (wxTheApp->CallOnInit()) {
    code = wxTheApp->OnRun();
    wxTheApp->OnExit();
  }
  wxEntryCleanup();
  return code;
}

void ShowNotice(const std::string& text) {
  std::string name = kProgramName;
  char* argv[] = {name.data(), nullptr};
  int argc = 1;
  wxApp::SetInstance(new wxApp);
  if (wxEntryStart(argc, argv)) {
    wxString shown = wxString::FromUTF8(text);  // the command line's texts start in lower case
    if (!shown.empty()) shown[0] = wxToupper(shown[0]);
    wxMessageBox(shown, kProgramName, wxOK | wxICON_INFORMATION);
  }
  wxEntryCleanup();
}

}  // namespace tarnwick::host::gui
