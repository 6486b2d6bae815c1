#include "feed/xml_messages.h"

namespace tarnwick::feed::xml_messages {
namespace {

std::string Quoted(std::string_view name) {
  std::string text = "'";
  text += name;
  text += "'";
  return text;
}

}  // namespace

std::string ElementNotEnded(std::string_view name, uint32_t offset) {
  return "Element " + Quoted(name) + " at offset " + std::to_string(offset) + " not ended";
}

std::string EndTagMismatch(std::string_view name, uint32_t offset, std::string_view openName, uint32_t openOffset) {
  return "End tag " + Quoted(name) + " at offset " + std::to_string(offset) + " does not match start tag " +
         Quoted(openName) + " at offset " + std::to_string(openOffset);
}

std::string NoStartTag(std::string_view name, uint32_t offset) {
  return "No start tag for end tag " + Quoted(name) + " at offset " + std::to_string(offset);
}

std::string Unterminated(std::string_view what, uint32_t offset) {
  return std::string(what) + " at offset " + std::to_string(offset) + " unterminated";
}

std::string Incorrect(std::string_view what, uint32_t offset) {
  return "Incorrect " + std::string(what) + " at offset " + std::to_string(offset);
}

std::string FileSize(uint64_t size) {
  return std::to_string(size) + std::string(kBytesSuffix);
}

std::string DocumentTooLarge(uint64_t size, uint64_t limit) {
  return "Document of " + std::to_string(size) + " bytes is larger than the parser's limit of " +
         std::to_string(limit) + " bytes";
}

}  // namespace tarnwick::feed::xml_messages
