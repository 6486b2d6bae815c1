// The web views run on WebKitGTK; this file is the only one that speaks to it directly.
#include "ui/web_view_backend.h"

#include <webkit2/webkit2.h>
#include <wx/webview.h>

#include <filesystem>

namespace tarnwick::ui {
namespace {

// Where Debian installs the toolkit's WebKit extension (the toolkit looks under another prefix).
constexpr const char* kExtensionFolders[] = {
    "/usr/lib/x86_64-linux-gnu/wx/3.2/web-extensions",
    "/usr/lib/aarch64-linux-gnu/wx/3.2/web-extensions",
    "/usr/lib/wx/3.2/web-extensions",
};

}  // namespace

void PrepareWebViews() {
  static bool prepared = false;
  if (prepared) return;
  prepared = true;
  for (const char* folder : kExtensionFolders) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
      webkit_web_context_set_web_extensions_directory(webkit_web_context_get_default(), folder);
      return;
    }
  }
}

void SetPageScriptsEnabled(wxWebView& view, bool enabled) {
  auto* webView = static_cast<WebKitWebView*>(view.GetNativeBackend());
  if (webView == nullptr) return;
  WebKitSettings* settings = webkit_web_view_get_settings(webView);
  webkit_settings_set_enable_javascript_markup(settings, enabled ? TRUE : FALSE);
}

}  // namespace tarnwick::ui
