#include "ui/desktop_launcher.h"

#include "store/file_utilities.h"
#include "ui/web_address.h"

#include <wx/app.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <utility>

namespace tarnwick::ui {
namespace {

// An address goes to the browser as it is; a file goes as a file URL (its blanks escaped), which
// the desktop hands to the program registered for the file's type, the browser for a web page.
bool OpenWithDesktop(const std::string& target) {
  const wxAppConsole* application = wxAppConsole::GetInstance();
  if (application == nullptr || !application->IsGUI()) return false;  // no desktop to show it on
  const wxString text = wxString::FromUTF8(target);
  const wxString url = wxFileExists(text) ? wxFileName::FileNameToURL(wxFileName(text)) : text;
  wxLogNull quiet;  // a desktop without a handler is told by the result, never by a log window
  return wxLaunchDefaultBrowser(url);
}

DesktopOpener& CurrentOpener() {
  static DesktopOpener opener = OpenWithDesktop;
  return opener;
}

// A topic is a page's file name: one that reaches into another folder opens nothing.
bool IsPageName(const std::string& topic) {
  return !topic.empty() && topic.find('/') == std::string::npos && topic != "." && topic != "..";
}

}  // namespace

bool OpenHelpTopic(const std::string& helpFolder, const std::string& topic) {
  if (!IsPageName(topic) || !store::FolderExists(helpFolder)) return false;
  const std::string separator = helpFolder.back() == '/' ? "" : "/";
  const std::string page = helpFolder + separator + topic;
  if (!store::FileExists(page) || store::FolderExists(page)) return false;
  return CurrentOpener()(page);
}

bool OpenAddress(const std::string& address) {
  if (!IsWebAddress(address)) return false;
  return CurrentOpener()(address);
}

bool OpenLocalFile(const std::string& path) {
  if (!store::FileExists(path) || store::FolderExists(path)) return false;
  return CurrentOpener()(path);
}

DesktopOpener SetDesktopOpener(DesktopOpener opener) {
  if (!opener) opener = OpenWithDesktop;
  return std::exchange(CurrentOpener(), std::move(opener));
}

}  // namespace tarnwick::ui
