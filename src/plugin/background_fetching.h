#pragma once

#include "plugin/plugin_context.h"

namespace tarnwick::plugin {

/// Starts the background scheduler for the context's data folder and settings file when it does
/// not run yet and the host speaks interface version 4 or later; sets `schedulerRunning`.
void StartBackgroundFetching(PluginContext& context);

/// Stops the scheduler (no tick runs after this returns), waits for the downloads it started,
/// and clears `schedulerRunning`. Nothing happens when it does not run.
void StopBackgroundFetching(PluginContext& context);

/// Runs one scheduler tick now on the calling thread and waits for its downloads; the number of
/// downloads started. Works whether or not the scheduler thread runs.
int RunBackgroundTickNow(PluginContext& context);

}  // namespace tarnwick::plugin
