#pragma once

#include <string>
#include <string_view>

namespace tarnwick::feed {

/// A feed document's bytes as valid UTF-8, for the parser. The encoding is the one its byte-order
/// mark names (UTF-8, UTF-16 LE/BE, UTF-32 LE/BE), else UTF-16 or UTF-32 when the document starts
/// with "<?" in two- or four-byte units, else the XML declaration's `encoding` when that encoding
/// reads the declaration as written (never a 16- or 32-bit one), else UTF-8. The mark is dropped.
/// Bytes not valid in the encoding become U+FFFD; an encoding the system does not know is read as
/// UTF-8. A document that is valid UTF-8 and declares no other encoding comes back unchanged.
std::string XmlDocumentAsUtf8(std::string bytes);

/// True when XmlDocumentAsUtf8 reads `bytes` as UTF-8 from their first byte: no byte-order mark,
/// no unmarked wide encoding, and no declared encoding other than UTF-8. Such a document that is
/// valid UTF-8 comes back from XmlDocumentAsUtf8 unchanged.
bool XmlDocumentIsUtf8(std::string_view bytes);

}  // namespace tarnwick::feed
