#include "opml/opml_writer.h"

#include "store/listed_feeds.h"
#include "opml/opml_texts.h"
#include "platform/file.h"
#include "platform/file_io.h"

#include <algorithm>
#include <cerrno>

namespace tarnwick::opml {
namespace {

constexpr char kIndent[] = "    ";

// The text as an attribute value between double quotes.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\t':
        out += "&#9;";
        break;
      case '\n':
        out += "&#10;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20) out += c;
    }
  }
  return out;
}

std::string Attribute(const char* name, const std::string& value) {
  return std::string(" ") + name + "=\"" + Escaped(value) + "\"";
}

std::string FeedOutline(const store::FeedSettings& feed) {
  return std::string(kIndent) + kIndent + kIndent + "<outline" + Attribute("text", feed.alias) +
         Attribute("title", feed.name) + Attribute("type", "rss") + Attribute("xmlUrl", feed.url) +
         Attribute("category", feed.newsbox) + "/>\n";
}

}  // namespace

std::string WriteOpml(const std::vector<store::FeedSettings>& feeds) {
  std::vector<std::string> newsboxes;
  for (const store::FeedSettings& feed : feeds) {
    if (std::find(newsboxes.begin(), newsboxes.end(), feed.newsbox) == newsboxes.end()) {
      newsboxes.push_back(feed.newsbox);
    }
  }
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<opml version=\"2.0\">\n";
  text += std::string(kIndent) + "<head>\n" + kIndent + kIndent + "<title>" + Escaped(kExportTitle) + "</title>\n" +
          kIndent + "</head>\n" + kIndent + "<body>\n";
  for (const std::string& newsbox : newsboxes) {
    text +=
        std::string(kIndent) + kIndent + "<outline" + Attribute("text", newsbox) + Attribute("title", newsbox) + ">\n";
    for (const store::FeedSettings& feed : feeds) {
      if (feed.newsbox == newsbox) text += FeedOutline(feed);
    }
    text += std::string(kIndent) + kIndent + "</outline>\n";
  }
  return text + kIndent + "</body>\n</opml>\n";
}

std::string ExportOpmlFile(const store::SettingsStore& settings, const std::string& path) {
  const std::string text = WriteOpml(store::ListedFeeds(settings));
  platform::File file = platform::File::Open(path, platform::FileAccess::kWrite, platform::FileCreation::kTruncate);
  if (!file.IsOpen()) return kCannotWritePrefix + path + ": " + platform::SystemErrorText(errno) + ".";
  const bool written = file.WriteAll(text);
  const int writeError = errno;
  if (!file.Close() || !written) {
    return kCannotWritePrefix + path + ": " + platform::SystemErrorText(written ? errno : writeError) + ".";
  }
  return {};
}

}  // namespace tarnwick::opml
