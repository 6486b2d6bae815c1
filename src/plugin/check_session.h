#pragma once

#include "automation/host_automation.h"
#include "check/check_run.h"
#include "check/check_view.h"
#include "check/feed_check.h"
#include "mailbox/newsbox_writer.h"
#include "platform/clock.h"
#include "plugin/plugin_context.h"

#include <memory>

namespace tarnwick::plugin {

/// Everything a main window checks feeds with, wired from the plug-in's context as the window is
/// opened: the host automation, the newsbox writer with the separator of the opening time, the
/// feed checker and the run. One session serves one window (and so one run).
class CheckSession {
public:
  /// `view` and `receiver` (may be null) must outlive the session. With `pacing` off the host
  /// is not given time after it closes or creates a mailbox (headless runs).
  CheckSession(const PluginContext& context, check::CheckView& view, mailbox::NewArticleReceiver* receiver,
               bool pacing);

  check::CheckRun& Run() { return run_; }
  check::FeedChecker& Checker() { return checker_; }
  mailbox::NewsboxWriter& Writer() { return writer_; }

private:
  platform::SystemClock clock_;
  automation::HostAutomation host_;
  mailbox::NewsboxWriter writer_;
  check::FeedChecker checker_;
  check::CheckRun run_;
};

}  // namespace tarnwick::plugin
