#include "mailbox/newsbox_stamp.h"

#include "platform/file_system.h"

namespace tarnwick::mailbox {
namespace {

constexpr char kMailboxExtension[] = ".mbx";
constexpr char kTocExtension[] = ".toc";

}  // namespace

FileStamp StampFile(const std::string& path) {
  const platform::FileInfo info = platform::PathInfo(path);
  if (!info.exists) return {};
  return {true,        info.size,    info.modifiedSeconds, info.modifiedNanoseconds, info.changedNanoseconds,
          info.volume, info.identity};
}

NewsboxStamp StampNewsbox(const std::string& mailboxPath) {
  return {StampFile(mailboxPath), StampFile(TocPathOf(mailboxPath))};
}

std::string TocPathOf(const std::string& mailboxPath) {
  std::string toc = mailboxPath;
  if (toc.ends_with(kMailboxExtension)) toc.resize(toc.size() - (sizeof(kMailboxExtension) - 1));
  return toc + kTocExtension;
}

}  // namespace tarnwick::mailbox
