#pragma once

#include "check/auto_check_scheduler.h"
#include "plugin/plugin_context.h"

#include <chrono>

namespace tarnwick::plugin {

/// Starts the background scheduler for the context's data folder and settings file when it does
/// not run yet and the host speaks interface version 4 or later; sets `schedulerRunning`. It
/// ticks once a `period`.
void StartBackgroundFetching(PluginContext& context, std::chrono::milliseconds period = check::kTickPeriod);

/// Stops the scheduler (no tick runs after this returns), stops the downloads it started at once
/// (their partial files removed) and waits for their workers to end, and clears
/// `schedulerRunning`. Only `schedulerRunning` is cleared when it does not run.
void StopBackgroundFetching(PluginContext& context);

/// Runs one scheduler tick now on the calling thread and waits for its downloads; the number of
/// downloads started. Works whether or not the scheduler thread runs.
int RunBackgroundTickNow(PluginContext& context);

}  // namespace tarnwick::plugin
