// The web views run on the system's browser control here (the toolkit's IE backend); this file is
// the only one that speaks to the control directly.
#include "ui/web_view_backend.h"

#include <wx/msw/webview_ie.h>
#include <wx/webview.h>

#include <exdisp.h>

namespace tarnwick::ui {

void PrepareWebViews() {
  static bool prepared = false;
  if (prepared) return;
  prepared = true;
  // Without this the control lays pages out as the oldest version of the engine would.
  wxWebViewIE::MSWSetEmulationLevel(wxWEBVIEWIE_EMU_IE11);
}

// The control has no switch for a page's scripts that its host can reach through the toolkit: a
// stored body is shown with scripts as the control's zone settings allow.
void SetPageScriptsEnabled(wxWebView&, bool) {}

void SuppressPageDialogs(wxWebView& view) {
  // A silent control shows no dialog of its own: no script errors, alerts, or password prompts.
  auto* browser = static_cast<IWebBrowser2*>(view.GetNativeBackend());
  if (browser != nullptr) browser->put_Silent(VARIANT_TRUE);
}

}  // namespace tarnwick::ui
