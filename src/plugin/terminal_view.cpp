#include "plugin/terminal_view.h"

#include "check/check_texts.h"
#include "check/skip_summary.h"
#include "mailbox/header_reader.h"
#include "platform/process.h"
#include "plugin/headless_texts.h"

namespace tarnwick::plugin {
namespace {

constexpr int kBarWidth = 40;

// One feed's line of the report: its new articles or why it failed.
std::string FeedLine(const check::FeedOutcome& feed) {
  std::string line = feed.alias + ": ";
  if (feed.result < 0) return line + kNotCheckedPrefix + feed.problem;
  line += std::to_string(feed.result) + " new article" + (feed.result == 1 ? "" : "s");
  if (feed.notModified) line += check::kNotModifiedNote;
  if (feed.leftInPending > 0) line += ", " + std::to_string(feed.leftInPending) + check::kLeftInPendingSuffix;
  if (!feed.problem.empty()) line += " (" + feed.problem + ")";
  if (!feed.note.empty()) line += "; " + feed.note;
  const std::string skipped = check::DescribeSkips(feed.skipped);
  if (!skipped.empty()) line += "; " + (check::kSkippedPrefix + skipped);
  return line;
}

}  // namespace

bool FeedFailed(const check::FeedOutcome& feed) {
  return feed.result < 0 || !feed.problem.empty();
}

TerminalView::TerminalView(std::FILE* out, Verbosity verbosity, std::FILE* problems)
    : out_(out),
      problems_(problems != nullptr ? problems : out),
      quiet_(verbosity == Verbosity::kQuiet),
      interactive_(!quiet_ && platform::IsTerminal(out)) {}

void TerminalView::PrintLine(const std::string& line) {
  if (barShown_) std::fputs("\r\033[K", out_);
  barShown_ = false;
  std::fprintf(out_, "%s\n", line.c_str());
  std::fflush(out_);
}

void TerminalView::SetProgress(int percent) {
  if (!interactive_ || percent <= 0) return;
  const int filled = percent * kBarWidth / 100;
  std::fprintf(out_, "\r[%s%s] %3d%%", std::string(filled, '#').c_str(), std::string(kBarWidth - filled, '.').c_str(),
               percent);
  std::fflush(out_);
  barShown_ = true;
}

void TerminalView::ShowGeneralStatus(const std::string& text) {
  if (quiet_ || text.empty() || text == general_) return;
  general_ = text;
  PrintLine(text);
}

void TerminalView::ShowDetailsStatus(const std::string& text) {
  if (quiet_ || text.empty() || text == details_) return;
  details_ = text;
  PrintLine("  " + text);
}

void TerminalView::OnNewArticle(const mailbox::NewArticleNotice& notice) {
  if (quiet_) return;
  PrintLine("  + " + mailbox::ReadHeaderField(notice.headerBlock, "Subject: ") + "  [" + notice.newsboxName + "]");
}

void TerminalView::PrintReport(const check::RunReport& report) {
  if (quiet_) return PrintQuietReport(report);
  PrintLine("");
  PrintLine("Report:");
  for (const check::FeedOutcome& feed : report.feeds) PrintLine("  " + FeedLine(feed));
  for (const check::HeldFeed& feed : report.held) PrintLine("  " + feed.alias + ": " + feed.reason);
  if (report.stopped) PrintLine("  The run was stopped before its last feeds.");
  std::string total =
      "Feeds: " + std::to_string(report.feeds.size()) + ", new articles: " + std::to_string(report.newArticles);
  if (report.leftInPending > 0) total += ", " + std::to_string(report.leftInPending) + check::kLeftInPendingSuffix;
  PrintLine(total);
}

void TerminalView::PrintQuietReport(const check::RunReport& report) {
  for (const check::FeedOutcome& feed : report.feeds) {
    if (FeedFailed(feed)) std::fprintf(problems_, "%s\n", FeedLine(feed).c_str());
  }
  std::fflush(problems_);
  std::fprintf(out_, "%s%d\n", kQuietCountPrefix, report.newArticles);
  std::fflush(out_);
}

}  // namespace tarnwick::plugin
