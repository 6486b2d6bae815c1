#include "ui/feed_info.h"

#include "ui/display_text.h"
#include "ui/feed_info_texts.h"

namespace tarnwick::ui {
namespace {

std::string Header(const FeedInfo& info) {
  return kInfoFeedLabel + info.name + kInfoUrlLabel + FirstCharacters(info.url, kInfoUrlCharacters) +
         kInfoMailboxLabel + info.mailbox + kInfoHeaderEnd;
}

// A run with new articles or without: one feed speaks of "this feed" under the header, a run over
// several feeds (or none) gives only the total.
void ComposeCount(const FeedInfo& info, FeedInfoMessage& message) {
  const bool oneFeed = info.feedsDone == 1;
  const int count = oneFeed ? info.lastResult : info.totalNew;
  message.title = count > 0 ? kNewArticlesTitle : kNoNewArticlesTitle;
  message.iconNumber = count > 0 ? kNewArticlesIcon : kNoNewArticlesIcon;
  if (oneFeed) {
    message.text = Header(info);
    if (count <= 0) {
      message.text += kOneFeedNoneNew;
    } else {
      message.text += kOneFeedNewPrefix;
      message.text += count == 1 ? std::string(kOneFeedOneNew) : std::to_string(count) + kOneFeedSeveralNewSuffix;
    }
  } else if (count <= 0) {
    message.text = kRunNoneNew;
  } else {
    message.text = kRunNewPrefix;
    message.text += count == 1 ? std::string(kRunOneNew) : std::to_string(count) + kRunSeveralNewSuffix;
  }
}

// A stopped run is no failure of its feed: it says what arrived and that the rest comes later.
void ComposeStopped(const FeedInfo& info, FeedInfoMessage& message) {
  message.title = info.productName + kStoppedTitleSuffix;
  message.iconNumber = info.totalNew > 0 ? kNewArticlesIcon : kNoNewArticlesIcon;
  message.text = info.stoppedInFeed ? Header(info) + kStoppedInFeedText : std::string(kStoppedBetweenFeedsText);
  if (info.totalNew <= 0) {
    message.text += kStoppedNoneNew;
  } else {
    message.text += kStoppedNewPrefix;
    message.text += info.totalNew == 1 ? std::string(kRunOneNew) : std::to_string(info.totalNew) + kRunSeveralNewSuffix;
  }
  message.text += kStoppedRestLater;
}

}  // namespace

FeedInfoMessage ComposeFeedInfo(const FeedInfo& info) {
  FeedInfoMessage message;
  switch (info.mode) {
    case FeedInfoMode::kDuplicateAlias:
      message.title = info.productName;
      message.text = Header(info) + kDuplicateAliasText;
      message.iconNumber = kDuplicateAliasIcon;
      break;
    case FeedInfoMode::kAutomationError:
      message.title = info.productName + kAutomationErrorTitleSuffix;
      message.text = kAutomationErrorText + info.errorText;
      message.iconNumber = kAutomationErrorIcon;
      break;
    case FeedInfoMode::kValidFeed:
      message.title = info.productName;
      message.text = Header(info) + kValidFeedText;
      message.iconNumber = kFeedIcon;
      break;
    case FeedInfoMode::kCheckResult:
      if (info.stopped) {
        ComposeStopped(info, message);
      } else if (info.lastResult < 0) {
        message.title = info.productName + kFeedErrorTitleSuffix;
        message.text =
            Header(info) + (info.errorText.empty() ? std::string(kFeedErrorText)
                                                   : kFeedNotDownloadedStart + info.errorText + kFeedNotDownloadedEnd);
        message.iconNumber = kFeedIcon;
        message.verifyShown = true;
        message.playSound = true;
      } else {
        ComposeCount(info, message);
      }
      break;
  }
  return message;
}

std::string FeedValidatorAddress(const std::string& url) {
  return kFeedValidatorAddress + url;
}

}  // namespace tarnwick::ui
