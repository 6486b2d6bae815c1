#include "mailbox/newsbox_writer.h"

#include "automation/automation_texts.h"
#include "feed/article_admission.h"
#include "feed/download.h"
#include "mailbox/header_reader.h"
#include "mailbox/message_layout.h"
#include "mailbox/page_charset.h"
#include "mailbox/page_text.h"
#include "mailbox/toc_reader.h"
#include "platform/application_name.h"
#include "platform/file.h"
#include "platform/file_io.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/ui_pump.h"
#include "store/file_utilities.h"

namespace tarnwick::mailbox {
namespace {

// How long the host is given to catch up after it closed or created a mailbox for the writer.
constexpr int kHostPauseMilliseconds = 200;
constexpr char kPageFileName[] = "article.html";
// How many identifiers and links of messages are kept in memory between checks at most (about 100
// bytes each), unless one newsbox holds more.
constexpr size_t kKeptInMemory = 400000;
// The folder of the plug-in folder where what is known of each newsbox waits for the next process.
constexpr char kKnownMessagesFolder[] = "Known messages";
const feed::KnownIds kNoKnownIds;

// The message's text up to and including its first empty line; the whole text when it has none.
std::string HeaderBlockOf(const std::string& rawText) {
  size_t end = rawText.find("\r\n\r\n");
  return end == std::string::npos ? rawText : rawText.substr(0, end + 4);
}

// The host answers "-1" (or nothing) when it cannot add a mailbox; that is no path to write to.
bool IsReportedPath(const std::string& path) {
  return !path.empty() && path != automation::kNoPath;
}

// Deletes the file if it is there; false when it is still there afterwards.
bool RemoveIfPresent(const std::string& path) {
  if (store::FileExists(path)) (void)platform::RemoveFile(path);
  return !store::FileExists(path);
}

// The link read before of the message with identifier `id`; null when none was.
const std::string* LinkSeenBefore(const KnownMessages* earlier, const std::string& id) {
  if (earlier == nullptr || id.empty()) return nullptr;
  auto found = earlier->linksById.find(id);
  return found == earlier->linksById.end() ? nullptr : &found->second;
}

void AddMessage(KnownMessages& known, std::string id, std::string link) {
  if (id.empty()) {
    known.linksWithoutId.push_back(std::move(link));
  } else if (!link.empty()) {
    known.linksById.insert_or_assign(id, std::move(link));
  }
  known.ids.insert(std::move(id));
}

}  // namespace

NewsboxWriter::NewsboxWriter(Settings settings, const automation::HostAutomation& host, const platform::Clock& clock,
                             DeliveryProgress* progress, NewArticleReceiver* receiver)
    : settings_(std::move(settings)),
      host_(host),
      clock_(clock),
      progress_(progress),
      receiver_(receiver),
      pendingMailbox_(store::MailboxFilePath(settings_.hostDataFolder, kPendingMailboxName, false)),
      pendingToc_(store::MailboxFilePath(settings_.hostDataFolder, kPendingMailboxName, true)),
      known_(settings_.pluginFolder.empty() ? "" : settings_.pluginFolder + "/" + kKnownMessagesFolder, kKeptInMemory),
      trackers_(TrackingHosts::ReadFrom(settings_.pluginFolder)) {}

void NewsboxWriter::Pause(int milliseconds) const {
  if (settings_.pacing) platform::PaceFor(milliseconds);
}

// Searching the host's tree asks about every mailbox: it is listed once and searched for every
// newsbox, and listed again only when a newsbox is not in it or its id no longer has its path (the
// host's ids are stable while it runs; a mailbox made, renamed or removed since changes that).
automation::HostFolder NewsboxWriter::FindNewsbox(const automation::HostApplication& application,
                                                  const std::string& newsboxPath, const std::string& newsboxName) {
  using automation::HostAutomation;
  if (const automation::MailboxPathId* listed = HostAutomation::FindListedMailbox(hostMailboxes_, newsboxPath)) {
    automation::HostFolder known = application.MailboxById(listed->id);
    if (known.Path() == listed->path) return known;
  }
  hostMailboxes_ = HostAutomation::ListMailboxPaths(application.TopLevel());
  const automation::MailboxPathId* listed = HostAutomation::FindListedMailbox(hostMailboxes_, newsboxPath);
  return listed == nullptr ? application.MailboxByName(newsboxName) : application.MailboxById(listed->id);
}

// An empty staging file whose table of contents lists nothing (or that has none) is what cutting
// would leave: cutting it again would only make the host rebuild its table for every feed.
bool NewsboxWriter::PendingAlreadyEmpty() const {
  const platform::FileInfo status = platform::PathInfo(pendingMailbox_);
  if (!status.exists || status.size != 0) return false;
  return !store::FileExists(pendingToc_) || TocMessageCount(pendingToc_) == 0;
}

void NewsboxWriter::PreparePending(const std::string& newsboxPath, const std::string& newsboxName) {
  deliveryIncomplete_ = false;
  appended_ = 0;
  appendFailures_ = 0;
  leftInPending_ = 0;
  stagingReady_ = true;
  if (!host_.CloseMailboxWindow(kPendingMailboxName) && host_.CloseMailboxWindow("")) Pause(kHostPauseMilliseconds);
  const bool alreadyEmpty = PendingAlreadyEmpty();
  if (!store::FileExists(pendingMailbox_)) {
    std::string reported = host_.MailboxPathCreating(kPendingMailboxName);
    stagingReady_ = IsReportedPath(reported);
    if (stagingReady_) pendingMailbox_ = std::move(reported);
    Pause(kHostPauseMilliseconds);
  } else if (!alreadyEmpty) {
    (void)store::TruncateFile(pendingMailbox_);
  }
  if (!alreadyEmpty && store::FileExists(pendingToc_)) (void)platform::RemoveFile(pendingToc_);

  knownIds_ = nullptr;
  newsboxPath_ = newsboxPath;
  newsboxName_ = newsboxName;
  linkGuard_.Clear([this](feed::LinkGuard& guard) { ReadNewsboxLinks(guard); });
}

// Read when the first item of the document comes to be admitted: a feed whose document did not
// change since the last check needs none. While the newsbox's files are as they were when its
// identifiers were last read or delivered, those are its identifiers: the host is not asked.
const feed::KnownIds& NewsboxWriter::ReadKnownIds() {
  KnownMessages read;
  read.stamp = StampNewsbox(newsboxPath_);
  if (const KnownMessages* known = known_.FindCurrent(newsboxPath_, read.stamp)) return known->ids;
  if (!ForEachNewsboxMessage(
          [&](const automation::HostMessage& message) { read.ids.insert(message.MessageIdLine()); })) {
    return kNoKnownIds;
  }
  // The links read before stay those of their messages (both were written together, never changed).
  if (KnownMessages* earlier = known_.Find(newsboxPath_)) {
    earlier->ReadLinks();
    for (const auto& [id, link] : earlier->linksById) {
      if (read.ids.contains(id)) read.linksById.emplace(id, link);
    }
  }
  return Keep(std::move(read)).ids;
}

// Visits the messages of the newsbox being checked, last first; false when the host cannot be reached.
bool NewsboxWriter::ForEachNewsboxMessage(const std::function<void(const automation::HostMessage&)>& visit) {
  automation::HostConnectResult connection = host_.Connect();
  if (!connection.Connected()) return false;
  automation::HostCollection messages = FindNewsbox(connection.application, newsboxPath_, newsboxName_).Messages();
  for (int position = messages.Count(); position >= 1; --position) {
    visit(automation::HostMessage(messages.Item(position)));
    platform::DrainMessagesWhenDue();
  }
  return true;
}

// Keeps what was just read of the newsbox being checked. It stands for the newsbox only when its
// files did not change while it was read (the host may have rebuilt the table of contents, another
// program may have written); otherwise it is kept in memory as a source of links, never current.
KnownMessages& NewsboxWriter::Keep(KnownMessages known) {
  const bool unchanged = known.stamp.mailbox.exists && StampNewsbox(newsboxPath_) == known.stamp;
  if (!unchanged) known.stamp = {};
  return known_.Store(newsboxPath_, std::move(known), unchanged);
}

// A message's link is read from its whole text, which the host reads from disk; the link of a
// message seen before is taken from what was read then, found by its identifier (both were written
// with the message and never change). While the newsbox's files are as they were when all its
// links were read, those are its links.
void NewsboxWriter::ReadNewsboxLinks(feed::LinkGuard& guard) {
  KnownMessages read;
  read.stamp = StampNewsbox(newsboxPath_);
  read.linksRead = true;
  KnownMessages* earlier = known_.Find(newsboxPath_);
  if (earlier != nullptr) earlier->ReadLinks();
  if (earlier != nullptr && earlier->linksRead && known_.FindCurrent(newsboxPath_, read.stamp) != nullptr) {
    for (const auto& [id, link] : earlier->linksById) guard.AddDeliveredLink(link);
    for (const std::string& link : earlier->linksWithoutId) guard.AddDeliveredLink(link);
    return;
  }
  const bool reached = ForEachNewsboxMessage([&](const automation::HostMessage& message) {
    std::string id = message.MessageIdLine();
    const std::string* seen = LinkSeenBefore(earlier, id);
    std::string link = seen != nullptr ? *seen : ReadHeaderField(HeaderBlockOf(message.RawText()), kWebsiteHeader);
    guard.AddDeliveredLink(link);
    AddMessage(read, std::move(id), std::move(link));
  });
  if (!reached) return;
  knownIds_ = &Keep(std::move(read)).ids;
}

void NewsboxWriter::ReportMissingFullArticle(const std::string& reason) {
  // A page file that cannot be deleted fails every article alike: one message says it.
  if (fullArticleProblemShown_) return;
  fullArticleProblemShown_ = true;
  platform::ShowMessageBox(kNoFullArticlePrefix + reason + kNoFullArticleSuffix, platform::kApplicationName);
}

std::string NewsboxWriter::FullArticleOf(const std::string& link) {
  const std::string page = settings_.pluginFolder + "/" + kPageFileName;
  // Whatever lies in the work file belongs to an earlier article: it must be gone before the
  // download, or a failed download would leave it to be taken for this article's page.
  if (!RemoveIfPresent(page)) {
    ReportMissingFullArticle(kPageFileNotDeleted + page);
    return {};
  }
  // The fetch reports its own failure. The server's character set counts when the page names none.
  const feed::FetchResult fetched = feed::FreshFetch(link, page, feed::UrlOrigin::kFromFeedDocument);
  if (!store::FileExists(page)) return {};
  std::string text = ReadPageText(page, CharsetOfContentType(fetched.answer.contentType));
  (void)platform::RemoveFile(page);
  if (text == kUnreadablePage) {
    ReportMissingFullArticle(kPageNotReadable + link);
    return {};
  }
  return text.empty() ? std::string() : FullArticleBlock(text);
}

bool NewsboxWriter::AppendToPending(const std::string& message) {
  platform::File file =
      platform::File::Open(pendingMailbox_, platform::FileAccess::kReadWrite, platform::FileCreation::kExisting);
  if (!file.IsOpen()) return false;
  const int64_t end = file.SeekToEnd();
  bool written = end >= 0 && file.WriteAll(message);
  // A message written in part would leave the mailbox ending in the middle of a message.
  if (!written && end >= 0 && !file.Truncate(static_cast<uint64_t>(end))) written = false;
  return file.Close() && written;
}

bool NewsboxWriter::AppendArticle(const store::FeedSettings& feed, feed::Article& article,
                                  const platform::DateTime& lastDate, platform::DateTime& newestDate,
                                  const std::string& downloadText, feed::SkipReason* reason) {
  if (reason != nullptr) *reason = feed::SkipReason::kNone;
  if (!stagingReady_) return false;
  if (knownIds_ == nullptr) knownIds_ = &ReadKnownIds();
  if (!feed::AdmitArticle(feed, article, lastDate, newestDate, *knownIds_, downloadText, clock_, &linkGuard_, reason)) {
    return false;
  }
  if (feed.downloadReferringArticles == 1 && !article.link.empty()) article.body += FullArticleOf(article.link);
  article.body = RemoveTrackers(article.body, trackers_);
  MessageContext context{feed::MessageIdOf(article, feed.url), downloadText, settings_.versionText, feed.name};
  if (AppendToPending(ComposeMessage(article, context, settings_.separatorLine))) {
    ++appended_;
    return true;
  }
  ++appendFailures_;
  return false;
}

bool NewsboxWriter::DeliverOne(const automation::HostMessage& message, const automation::HostFolder& newsbox,
                               const std::string& newsboxName, int notifyNewsBoard, KnownMessages* known) {
  std::string headerBlock = HeaderBlockOf(message.RawText());
  std::string id = known != nullptr ? message.MessageIdLine() : std::string();
  std::string body = message.Body();
  std::string title = message.Title();
  platform::DrainMessagesWhenDue();
  (void)message.SetStatus(0);
  // A message the host did not move is still in "Pending", which the next check empties: it must
  // neither appear on the Newsboard nor count as arrived. After the move the message's id is the
  // one it has in the newsbox.
  const bool moved = message.MoveTo(newsbox);
  if (moved && known != nullptr) AddMessage(*known, std::move(id), ReadHeaderField(headerBlock, kWebsiteHeader));
  if (moved) {
    ++newArticles_;
    if (notifyNewsBoard == 1 && receiver_ != nullptr) {
      receiver_->OnNewArticle(
          {std::move(headerBlock), std::move(body), message.Id(), newsboxName, newsbox.Path(), newsbox.Id()});
    }
  }
  if (progress_ != nullptr) progress_->ShowDetailsStatus(kDownloadingArticlePrefix + title);
  return moved;
}

int NewsboxWriter::DeliverPending(const std::string& newsboxPath, const std::string& newsboxName, int notifyNewsBoard,
                                  std::stop_token stop) {
  leftInPending_ = appended_;
  if (!stagingReady_) return 0;
  automation::HostConnectResult connection = host_.Connect();
  if (!connection.Connected()) {
    deliveryIncomplete_ = true;
    return 0;
  }
  const automation::HostApplication& application = connection.application;
  application.SetStatusText(kDownloadingNewArticles);
  automation::HostCollection messages = application.MailboxByName(kPendingMailboxName).Messages();
  const int total = messages.Count();
  // With nothing staged the newsbox is not needed (finding it may cost a walk of the host's tree).
  automation::HostFolder newsbox =
      total > 0 ? FindNewsbox(application, newsboxPath, newsboxName) : automation::HostFolder();
  // What is known of the newsbox stays true through the moves only when nobody else changed it
  // before them: then it gains what is moved in.
  KnownMessages* known = total > 0 ? known_.FindCurrent(newsboxPath, StampNewsbox(newsboxPath)) : nullptr;
  if (known != nullptr) known->ReadLinks();
  int moved = 0;
  int tried = 0;
  for (int position = total; position >= 1 && !stop.stop_requested(); --position, ++tried) {
    if (progress_ != nullptr) progress_->SetProgress(((total - position) * 100) / total);
    if (DeliverOne(automation::HostMessage(messages.Item(position)), newsbox, newsboxName, notifyNewsBoard, known)) {
      ++moved;
    }
  }
  if (total >= 0) leftInPending_ = total - moved;
  if (total < 0 || leftInPending_ > 0) deliveryIncomplete_ = true;
  if (moved > 0) newsbox.Open();
  if (known != nullptr && tried > 0) {
    // A move that failed may have left its message in the newsbox as well: then only the host knows.
    known->stamp = moved == tried ? StampNewsbox(newsboxPath) : NewsboxStamp{};
    known_.Persist(newsboxPath);
  }
  if (progress_ != nullptr) {
    progress_->SetProgress(98);
    progress_->ShowGeneralStatus(kCheckDone);
    progress_->ShowDetailsStatus(kMaintenance);
  }
  application.SetStatusText(kSoFarPrefix + std::to_string(newArticles_) + kSoFarSuffix);
  return moved;
}

}  // namespace tarnwick::mailbox
