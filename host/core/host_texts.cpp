#include "core/host_texts.h"

#include "platform/file_io.h"

namespace tarnwick::host {

std::string UnknownServerText(const std::string& progId) {
  return "No automation server is registered under \"" + progId + "\".";
}

std::string CannotReadText(const std::string& path, int errorNumber) {
  return path + " cannot be read: " + platform::SystemErrorText(errorNumber);
}

std::string CannotWriteText(const std::string& path, int errorNumber) {
  return path + " cannot be written: " + platform::SystemErrorText(errorNumber);
}

std::string BadNameText(const std::string& name) {
  return "\"" + name +
         "\" cannot name a mailbox: a name must not be empty, \".\" or \"..\", and must not hold "
         "\"/\", a line break or a zero byte.";
}

std::string MissingDataFolderText(const std::string& path) {
  return "The data folder " + path + " does not exist.";
}

std::string ChangedUnderfootText(const std::string& path) {
  return path + " was changed by another program while it was being read; try again.";
}

}  // namespace tarnwick::host
