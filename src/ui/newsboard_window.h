#pragma once

#include "mailbox/new_article_notice.h"
#include "ui/registered_messages.h"

#include <wx/frame.h>

#include <vector>

class wxListBox;

namespace tarnwick::ui {

/// Control id of the Newsboard's list.
inline constexpr int kNewsboardListId = 1019;

/// The Newsboard: a top-level window of its own, made hidden when the plug-in starts, which lists
/// the headline of every article delivered since then. It shows itself on "uiNewArticle" and on
/// "uiDisplayWindow" 1 and hides on any other request; the close box only hides it. It never
/// keeps the application from ending.
class NewsboardWindow : public wxFrame {
public:
  NewsboardWindow();

  /// The articles announced so far, in the order they came.
  const std::vector<mailbox::NewArticleNotice>& Notices() const { return notices_; }
  /// The list of headlines.
  wxListBox& List() { return *list_; }

  bool ShouldPreventAppExit() const override { return false; }

private:
  void OnDisplayWindow(DisplayWindowEvent& event);
  void OnNewArticle(NewArticleEvent& event);

  std::vector<mailbox::NewArticleNotice> notices_;
  wxListBox* list_ = nullptr;
};

}  // namespace tarnwick::ui
