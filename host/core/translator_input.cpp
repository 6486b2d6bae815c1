#include "core/translator_input.h"

#include "core/mbox_format.h"

#include <ctime>

namespace tarnwick::host {
namespace {

constexpr char kDefaultType[] = "text";
constexpr char kDefaultSubtype[] = "plain";

std::string Trimmed(std::string_view text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(blanks);
  return std::string(text.substr(first, last - first + 1));
}

std::string Unquoted(std::string text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

// "name=value" pieces after the type, separated by ";" (a ";" inside quotes does not separate).
std::vector<std::pair<std::string, std::string>> ParametersOf(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> parameters;
  bool quoted = false;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] == '"') quoted = !quoted;
    if (i < text.size() && (quoted || text[i] != ';')) continue;
    std::string_view piece = text.substr(start, i - start);
    start = i + 1;
    size_t equals = piece.find('=');
    if (equals == std::string_view::npos) continue;
    std::string name = Trimmed(piece.substr(0, equals));
    if (!name.empty()) parameters.emplace_back(name, Unquoted(Trimmed(piece.substr(equals + 1))));
  }
  return parameters;
}

// The header block's lines without the empty line (and line end) that close it.
std::string HeaderLines(std::string_view headerBlock) {
  size_t end = headerBlock.size();
  while (end > 0 && (headerBlock[end - 1] == '\r' || headerBlock[end - 1] == '\n')) --end;
  return std::string(headerBlock.substr(0, end));
}

}  // namespace

MimeTypeText MimeTypeOfHeaders(std::string_view headerBlock) {
  MimeTypeText mime{kDefaultType, kDefaultSubtype, {}};
  std::string value = HeaderValue(headerBlock, "Content-Type");
  size_t semicolon = value.find(';');
  std::string typeText = value.substr(0, semicolon);
  size_t slash = typeText.find('/');
  if (slash == std::string::npos) return mime;
  std::string type = Trimmed(std::string_view(typeText).substr(0, slash));
  std::string subtype = Trimmed(std::string_view(typeText).substr(slash + 1));
  if (type.empty() || subtype.empty()) return mime;
  mime.type = type;
  mime.subtype = subtype;
  if (semicolon != std::string::npos) mime.parameters = ParametersOf(std::string_view(value).substr(semicolon + 1));
  return mime;
}

TranslatorInput TranslatorInputOf(std::string_view stored) {
  StoredMessageParts parts = SplitStoredMessage(stored);
  TranslatorInput input;
  input.fileText = std::string(parts.headerBlock) + UnescapeBody(parts.body);
  input.rawHeaders = HeaderLines(parts.headerBlock);
  input.to = HeaderValue(parts.headerBlock, "To");
  input.from = HeaderValue(parts.headerBlock, "From");
  input.subject = HeaderValue(parts.headerBlock, "Subject");
  input.cc = HeaderValue(parts.headerBlock, "Cc");
  input.bcc = HeaderValue(parts.headerBlock, "Bcc");
  input.mimeType = MimeTypeOfHeaders(parts.headerBlock);
  return input;
}

std::string MessageFromTranslation(std::string_view stored, std::string_view output) {
  if (output.empty()) return {};
  StoredMessageParts original = SplitStoredMessage(stored);
  std::string message = original.separatorLine.empty() ? SeparatorLine(std::time(nullptr)) + "\r\n"
                                                       : WithCrLfLineEnds(original.separatorLine);
  // The output is a message without its separator line: a first line that looks like one is
  // header text here, so it is split as if a separator stood before it.
  const std::string outputMessage = std::string(kSeparatorPrefix) + "\r\n" + std::string(output);
  StoredMessageParts translated = SplitStoredMessage(outputMessage);
  message += WithCrLfLineEnds(translated.headerBlock);
  message += WithCrLfLineEnds(EscapeBody(translated.body));
  if (!message.ends_with("\r\n")) message += "\r\n";
  return message;
}

}  // namespace tarnwick::host
