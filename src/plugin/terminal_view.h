#pragma once

#include "check/check_run.h"
#include "check/check_view.h"
#include "mailbox/new_article_notice.h"

#include <cstdio>
#include <string>

namespace tarnwick::plugin {

/// The check run's window on a terminal: status lines as they change, a progress bar when the
/// output is a terminal, and one line per article delivered.
class TerminalView : public check::CheckView, public mailbox::NewArticleReceiver {
public:
  explicit TerminalView(std::FILE* out);

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

  std::FILE* out_;
  bool interactive_;
  bool barShown_ = false;
  std::string general_;
  std::string details_;
};

}  // namespace tarnwick::plugin
