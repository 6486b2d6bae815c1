#pragma once

#include <cstddef>

namespace tarnwick::ui {

/// One file of res/ carried inside the module.
struct ResourceFile {
  const char* name;  // "<folder>/<file>", such as "icons/123.png"
  const unsigned char* data;
  size_t size;
};

/// Every embedded file, ended by an entry whose name is null. Generated at build time.
const ResourceFile* EmbeddedResourceFiles();

}  // namespace tarnwick::ui
