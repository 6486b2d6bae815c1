#include "gui/message_preview.h"

#include "core/mbox_format.h"
#include "core/translator_input.h"
#include "platform/text.h"

namespace tarnwick::host::gui {
namespace {

constexpr std::string_view kHtmlMarker = "<x-html>";

// The length of the UTF-8 sequence that starts with `lead`, or 0 when it cannot start one.
size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool IsValidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    size_t length = SequenceLength(static_cast<unsigned char>(text[i]));
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

std::string HeaderRow(const char* label, const std::string& value) {
  return std::string("<tr><td valign=\"top\"><b>") + label + "</b></td><td>" + EscapeHtml(AsUtf8(value)) + "</td></tr>";
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string AsUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  std::string converted;
  for (unsigned char c : text) {
    if (c < 0x80) {
      converted += static_cast<char>(c);
    } else {
      converted += static_cast<char>(0xC0 | (c >> 6));
      converted += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return converted;
}

std::string PreviewPage(std::string_view stored) {
  StoredMessageParts parts = SplitStoredMessage(stored);
  std::string page = "<html><body><table cellspacing=\"0\" cellpadding=\"2\">";
  page += HeaderRow("From:", HeaderValue(parts.headerBlock, "From"));
  page += HeaderRow("Subject:", HeaderValue(parts.headerBlock, "Subject"));
  page += HeaderRow("Date:", HeaderValue(parts.headerBlock, "Date"));
  page += "</table><hr>";
  const bool markedHtml = UnescapeBody(parts.body).starts_with(kHtmlMarker);
  const MimeTypeText mimeType = MimeTypeOfHeaders(parts.headerBlock);
  const bool html = markedHtml || (platform::EqualsIgnoreCase(mimeType.type, "text") &&
                                   platform::EqualsIgnoreCase(mimeType.subtype, "html"));
  const std::string body = AsUtf8(ReadableBody(parts.body));
  page += html ? body : "<pre>" + EscapeHtml(body) + "</pre>";
  page += "</body></html>";
  return page;
}

}  // namespace tarnwick::host::gui
