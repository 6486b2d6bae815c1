#include "plugin/check_session.h"

#include "mailbox/message_layout.h"
#include "platform/date_format.h"

namespace tarnwick::plugin {

CheckSession::CheckSession(const PluginContext& context, check::CheckView& view,
                           mailbox::NewArticleReceiver* receiver, bool pacing)
    // A run opens "Pending" only for the host to read what was staged, which it does at once: the
    // writer gives the host its time where the host needs it.
    : host_([](int) {}),
      writer_({context.hostDataFolder, context.pluginFolder, context.versionText,
               mailbox::MessageSeparator(platform::FormatLocaleDate(clock_.Now()), clock_) + "\r\n", pacing},
              host_, clock_, &view, receiver),
      checker_({context.settingsPath, context.inMailboxPath}, writer_, host_, clock_, view),
      run_({context.scratchFeedPath, context.hostDataFolder, context.settingsPath}, checker_, writer_, host_, view) {}

}  // namespace tarnwick::plugin
