#pragma once

#include <string>

namespace tarnwick::ui {

/// What the viewer's web view shows: the article's web page, or the body stored in the newsbox.
enum class ViewMode { kFullArticle, kNewsboxArticle };

/// The article viewer without its window: the article's header fields, the view mode and the
/// source view, and the current content that forwarding, saving and filing use.
class ArticleViewerModel {
public:
  /// `headerBlock` is the message's text up to and including its blank line; `bodyText` the
  /// stored HTML body. Starts in the full-article mode with the source view off.
  ArticleViewerModel(std::string headerBlock, std::string bodyText);

  const std::string& HeaderBlock() const { return headerBlock_; }
  const std::string& BodyText() const { return bodyText_; }
  const std::string& Feed() const { return feed_; }
  const std::string& Subject() const { return subject_; }
  const std::string& Date() const { return date_; }
  const std::string& Website() const { return website_; }

  /// What the full-article view loads: the article's link when it is an http or https address,
  /// else empty (a "file:" or other link is never shown).
  std::string PageAddress() const;

  /// The window's title: feed, date and subject joined by ", ".
  std::string Title() const;

  ViewMode Mode() const { return mode_; }
  bool ShowingSource() const { return showSource_; }

  /// Chooses a view mode; the source view is turned off.
  void ChooseMode(ViewMode mode);
  /// Turns the source view on or off; true when it is now on.
  bool ToggleSource();
  /// A page finished loading in the web view, with this inner HTML of its body: kept as the full
  /// article in the full-article mode, ignored otherwise.
  void PageLoaded(std::string bodyInnerHtml);

  /// The page's captured body in the full-article mode (empty before the first load), the stored
  /// body otherwise.
  const std::string& CurrentContent() const;
  /// The header block followed by the current content: what is forwarded, saved and filed.
  std::string ArticleText() const;

private:
  std::string headerBlock_;
  std::string bodyText_;
  std::string feed_;
  std::string subject_;
  std::string date_;
  std::string website_;
  std::string fullArticleHtml_;
  ViewMode mode_ = ViewMode::kFullArticle;
  bool showSource_ = false;
};

}  // namespace tarnwick::ui
