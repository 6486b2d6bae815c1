#include "ui/newsboard_window.h"

#include "mailbox/header_reader.h"
#include "ui/newsboard_texts.h"
#include "ui/resources.h"

#include <wx/listbox.h>
#include <wx/sizer.h>

namespace tarnwick::ui {
namespace {

constexpr int kNewsboardIconNumber = 1000;

}  // namespace

NewsboardWindow::NewsboardWindow() : wxFrame(nullptr, wxID_ANY, kNewsboardTitle) {
  SetIcon(ResourceIcon(kNewsboardIconNumber));
  list_ = new wxListBox(this, kNewsboardListId, wxDefaultPosition, wxDefaultSize, 0, nullptr, wxLB_EXTENDED);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(list_, wxSizerFlags(1).Expand());
  SetSizer(top);
  SetSize(FromDIP(wxSize(420, 260)));

  Bind(kUiDisplayWindow, &NewsboardWindow::OnDisplayWindow, this);
  Bind(kUiNewArticle, &NewsboardWindow::OnNewArticle, this);
  // The user's close only hides the window; when the application ends it goes with the others.
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Hide(); });
}

void NewsboardWindow::OnDisplayWindow(DisplayWindowEvent& event) {
  Show(event.Request() == 1);
  event.SetAnswer(1);
}

void NewsboardWindow::OnNewArticle(NewArticleEvent& event) {
  notices_.push_back(event.Notice());
  list_->Append(wxString::FromUTF8(mailbox::ReadHeaderField(event.Notice().headerBlock, kHeadlineHeaderName)));
  Show();
}

}  // namespace tarnwick::ui
