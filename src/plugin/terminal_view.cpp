#include "plugin/terminal_view.h"

#include "check/check_texts.h"
#include "check/skip_summary.h"
#include "mailbox/header_reader.h"

#include <unistd.h>

namespace tarnwick::plugin {
namespace {

constexpr int kBarWidth = 40;

}  // namespace

TerminalView::TerminalView(std::FILE* out) : out_(out), interactive_(isatty(fileno(out)) == 1) {}

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
  if (text.empty() || text == general_) return;
  general_ = text;
  PrintLine(text);
}

void TerminalView::ShowDetailsStatus(const std::string& text) {
  if (text.empty() || text == details_) return;
  details_ = text;
  PrintLine("  " + text);
}

void TerminalView::OnNewArticle(const mailbox::NewArticleNotice& notice) {
  PrintLine("  + " + mailbox::ReadHeaderField(notice.headerBlock, "Subject: ") + "  [" + notice.newsboxName + "]");
}

void TerminalView::PrintReport(const check::RunReport& report) {
  PrintLine("");
  PrintLine("Report:");
  for (const check::FeedOutcome& feed : report.feeds) {
    std::string line = "  " + feed.alias + ": ";
    if (feed.result < 0) {
      line += "not checked: " + feed.problem;
    } else {
      line += std::to_string(feed.result) + " new article" + (feed.result == 1 ? "" : "s");
      if (feed.notModified) line += check::kNotModifiedNote;
      if (feed.leftInPending > 0) line += ", " + std::to_string(feed.leftInPending) + check::kLeftInPendingSuffix;
      if (!feed.problem.empty()) line += " (" + feed.problem + ")";
      if (!feed.note.empty()) line += "; " + feed.note;
      const std::string skipped = check::DescribeSkips(feed.skipped);
      if (!skipped.empty()) line += "; " + (check::kSkippedPrefix + skipped);
    }
    PrintLine(line);
  }
  for (const check::HeldFeed& feed : report.held) PrintLine("  " + feed.alias + ": " + feed.reason);
  if (report.stopped) PrintLine("  The run was stopped before its last feeds.");
  std::string total =
      "Feeds: " + std::to_string(report.feeds.size()) + ", new articles: " + std::to_string(report.newArticles);
  if (report.leftInPending > 0) total += ", " + std::to_string(report.leftInPending) + check::kLeftInPendingSuffix;
  PrintLine(total);
}

}  // namespace tarnwick::plugin
