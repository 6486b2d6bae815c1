#include "ui/article_viewer_model.h"

#include "mailbox/header_reader.h"
#include "ui/web_address.h"

namespace tarnwick::ui {

ArticleViewerModel::ArticleViewerModel(std::string headerBlock, std::string bodyText)
    : headerBlock_(std::move(headerBlock)), bodyText_(std::move(bodyText)) {
  feed_ = mailbox::ReadHeaderField(headerBlock_, "Feed: ");
  subject_ = mailbox::ReadHeaderField(headerBlock_, "Subject: ");
  date_ = mailbox::ReadHeaderField(headerBlock_, "Date: ");
  website_ = mailbox::ReadHeaderField(headerBlock_, "Website: ");
}

std::string ArticleViewerModel::PageAddress() const {
  return IsWebAddress(website_) ? website_ : std::string();
}

std::string ArticleViewerModel::Title() const {
  return feed_ + ", " + date_ + ", " + subject_;
}

void ArticleViewerModel::ChooseMode(ViewMode mode) {
  mode_ = mode;
  showSource_ = false;
}

bool ArticleViewerModel::ToggleSource() {
  showSource_ = !showSource_;
  return showSource_;
}

void ArticleViewerModel::PageLoaded(std::string bodyInnerHtml) {
  if (mode_ == ViewMode::kFullArticle) fullArticleHtml_ = std::move(bodyInnerHtml);
}

const std::string& ArticleViewerModel::CurrentContent() const {
  return mode_ == ViewMode::kFullArticle ? fullArticleHtml_ : bodyText_;
}

std::string ArticleViewerModel::ArticleText() const {
  return headerBlock_ + CurrentContent();
}

}  // namespace tarnwick::ui
