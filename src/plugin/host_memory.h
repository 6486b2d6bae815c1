#pragma once

#include "platform/ems_records.h"

#include <string>

namespace tarnwick::plugin {

/// A copy of the text on the module's heap, for the host to give back through ems_free.
char* HeapCopy(const std::string& text);

/// A block holding the icon resource number, for the host to give back through ems_free.
EmsIconHandle* IconBlock(int32_t iconResource);

/// A MIME type record with the given type and subtype, an empty version text and no parameters,
/// for the host to give back through ems_free (which then frees the whole record).
EmsMimeType* NewMimeType(const std::string& type, const std::string& subtype);

/// Frees memory the module handed to the host: a MIME type record with its texts and parameter
/// chains, or any other block. Null is ignored.
void FreeHostMemory(void* memory);

}  // namespace tarnwick::plugin
