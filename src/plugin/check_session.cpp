#include "plugin/check_session.h"

#include "mailbox/message_layout.h"
#include "platform/date_format.h"

namespace tarnwick::plugin {
namespace {

// The host's pauses are real waits when the windows need them and nothing when headless.
automation::WaitFunction HostWait(bool pacing) {
  if (pacing) return {};
  return [](int) {};
}

}  // namespace

CheckSession::CheckSession(const PluginContext& context, check::CheckView& view,
                           mailbox::NewArticleReceiver* receiver, bool pacing)
    : host_(HostWait(pacing)),
      writer_({context.hostDataFolder, context.pluginFolder, context.versionText,
               mailbox::MessageSeparator(platform::FormatLocaleDate(clock_.Now()), clock_) + "\r\n", pacing},
              host_, clock_, &view, receiver),
      checker_({context.settingsPath, context.inMailboxPath, pacing}, writer_, host_, clock_, view),
      run_({context.scratchFeedPath, context.hostDataFolder, context.settingsPath}, checker_, writer_, host_, view) {}

}  // namespace tarnwick::plugin
