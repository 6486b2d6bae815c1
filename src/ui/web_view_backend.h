#pragma once

class wxWebView;

namespace tarnwick::ui {

/// Readies the web engine before the first web view is made: the toolkit's engine extension is
/// looked for where the system installs it, so reading a page's text works. Call on the UI thread;
/// later calls do nothing.
void PrepareWebViews();

/// Turns the page's own scripts on or off for what the view loads next. Scripts the program runs
/// itself (RunScript) work either way, so a stored article's body can be shown without letting any
/// script or event handler in it run.
void SetPageScriptsEnabled(wxWebView& view, bool enabled);

/// Keeps the view from showing dialogs of its own: a page's alert, confirm, prompt and print
/// requests are answered at once as if dismissed, and a server's request for a password is
/// refused. Call once, after the view is made.
void SuppressPageDialogs(wxWebView& view);

}  // namespace tarnwick::ui
