#pragma once

namespace tarnwick::ui {

/// Makes the toolkit answer the platform's message boxes (a modal dialog on the UI thread; from
/// another thread the dialog is queued to the UI thread and the caller goes on) and its keyboard
/// state (the keys held now). Call on the UI thread of an application with windows.
void InstallPlatformBackends();

/// Puts back the answers without windows: message boxes on standard error, no key held.
void RemovePlatformBackends();

}  // namespace tarnwick::ui
