// The web views run on WebKitGTK here; this file is the only one that speaks to it directly.
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

// Each handler answers its request itself, which keeps the engine from showing its own dialog.
// A confirm is answered "no"; a page asking to keep the user from leaving lets the user leave.
gboolean DismissScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer) {
  const WebKitScriptDialogType type = webkit_script_dialog_get_dialog_type(dialog);
  if (type == WEBKIT_SCRIPT_DIALOG_CONFIRM) webkit_script_dialog_confirm_set_confirmed(dialog, FALSE);
  if (type == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM) webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
  return TRUE;
}

gboolean RefuseAuthentication(WebKitWebView*, WebKitAuthenticationRequest* request, gpointer) {
  webkit_authentication_request_cancel(request);
  return TRUE;
}

gboolean SkipPrinting(WebKitWebView*, WebKitPrintOperation*, gpointer) {
  return TRUE;
}

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

void SuppressPageDialogs(wxWebView& view) {
  auto* webView = static_cast<WebKitWebView*>(view.GetNativeBackend());
  if (webView == nullptr) return;
  g_signal_connect(webView, "script-dialog", G_CALLBACK(DismissScriptDialog), nullptr);
  g_signal_connect(webView, "authenticate", G_CALLBACK(RefuseAuthentication), nullptr);
  g_signal_connect(webView, "print", G_CALLBACK(SkipPrinting), nullptr);
}

}  // namespace tarnwick::ui
