#pragma once

#include <string>

namespace tarnwick::feed {

/// A feed document's bytes as UTF-8, for the parser. The encoding is the one its byte-order mark
/// names (UTF-8, UTF-16 LE/BE, UTF-32 LE/BE), else UTF-16 when the document starts with "<?" in
/// two-byte units, else the XML declaration's `encoding`, else UTF-8. The mark is dropped. Bytes
/// in an encoding the system does not know, or not valid in the one named, are kept unchanged.
std::string XmlDocumentAsUtf8(std::string bytes);

}  // namespace tarnwick::feed
