#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "cli/verbs.h"

#include <map>
#include <ostream>

namespace tarnwick::host {

// One line per mailbox and folder in list order: path, id, messages, unread, and "left-out" when
// marked so. A folder shows the totals of the mailboxes inside it. A mailbox that cannot be read
// shows -1 and is reported, and the listing goes on.
int RunMailboxesVerb(VerbContext& context) {
  MailStore& store = context.core.Store();
  std::vector<MailboxInfo> all = store.AllInTreeOrder();
  struct Counts {
    long long count = 0;
    long long unread = 0;
  };
  std::map<int32_t, Counts> counts;
  std::map<int32_t, const MailboxInfo*> byId;
  for (const MailboxInfo& info : all) byId[info.id] = &info;
  int code = kExitSuccess;
  for (const MailboxInfo& info : all) {
    if (!info.isMailbox) continue;
    size_t count = 0;
    size_t unread = 0;
    StoreStatus status = store.Counts(info.id, &count, &unread);
    if (!status.ok) {
      code = ReportFailure(context, status.errorText);
      counts[info.id] = {-1, -1};
      continue;
    }
    counts[info.id] = {static_cast<long long>(count), static_cast<long long>(unread)};
    for (int32_t parent = info.parentId; parent != 0 && byId.count(parent); parent = byId[parent]->parentId) {
      counts[parent].count += static_cast<long long>(count);
      counts[parent].unread += static_cast<long long>(unread);
    }
  }
  for (const MailboxInfo& info : all) {
    const Counts& shown = counts[info.id];
    context.out << info.relativePath << '\t' << info.id << '\t' << shown.count << '\t' << shown.unread;
    if (info.leftOut) context.out << '\t' << kLeftOutMark;
    context.out << '\n';
  }
  return code;
}

}  // namespace tarnwick::host
