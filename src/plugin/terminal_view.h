#pragma once

#include "check/check_run.h"
#include "check/check_view.h"
#include "mailbox/new_article_notice.h"

#include <cstdio>
#include <string>

namespace tarnwick::plugin {

/// Whether a feed of a run failed: not checked, or its articles not all delivered.
bool FeedFailed(const check::FeedOutcome& feed);

/// The check run's window on a terminal: status lines as they change, a progress bar when the
/// output is a terminal, and one line per article delivered. A quiet view shows none of that: its
/// report is the failed feeds, on `problems`, and the count of new articles.
class TerminalView : public check::CheckView, public mailbox::NewArticleReceiver {
public:
  enum class Verbosity { kFull, kQuiet };

  explicit TerminalView(std::FILE* out, Verbosity verbosity = Verbosity::kFull, std::FILE* problems = nullptr);

  void SetProgress(int percent) override;
  void ShowGeneralStatus(const std::string& text) override;
  void ShowDetailsStatus(const std::string& text) override;
  void SetRunControlsEnabled(bool) override {}
  void ShowBusy(bool) override {}
  void FocusWindow() override {}
  void BringNewsboardForward() override {}
  void OnNewArticle(const mailbox::NewArticleNotice& notice) override;

  /// Prints the run's report: each feed with its new articles or why it failed, and the total.
  void PrintReport(const check::RunReport& report);

private:
  void PrintLine(const std::string& line);
  void PrintQuietReport(const check::RunReport& report);

  std::FILE* out_;
  std::FILE* problems_;
  bool quiet_;
  bool interactive_;
  bool barShown_ = false;
  std::string general_;
  std::string details_;
};

}  // namespace tarnwick::plugin
