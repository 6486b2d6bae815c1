#pragma once

// The plug-in interface between the host mail client and its plug-in modules: the records both
// sides exchange, as C structs, and the signatures of the functions a module exports. Integers are
// 32 bits; pointers have the machine's width. Every text, icon block and MIME record that a module
// hands to the host is allocated by the module and given back to it through ems_free.

#include <cstdint>

extern "C" {

/// A module's icon as handed to the host: the block holds the number of the icon resource.
typedef int32_t EmsIconHandle;

/// What the host tells a module at initialisation.
struct EmsMailConfig {
  int32_t size;
  void* mainWindow;
  char* configDirectory;  // the folder of the module's own files, without a trailing slash
};

/// What a module tells the host about itself at initialisation.
struct EmsPluginInfo {
  int32_t size;
  int32_t numTranslators;
  int32_t numAttachers;
  int32_t numSpecials;
  char* description;
  int32_t id;
  EmsIconHandle* icon;
};

/// One entry of the host's Special menu that a module provides.
struct EmsMenu {
  int32_t size;
  int32_t id;  // 1-based entry number
  char* name;
  EmsIconHandle* icon;
  int32_t flags;
};

/// One message translator that a module provides.
struct EmsTranslator {
  int32_t size;
  int32_t id;  // 1-based translator number
  int32_t type;
  uint32_t flags;
  char* description;
  EmsIconHandle* icon;
};

/// One name=value parameter of a MIME type; a singly linked chain.
struct EmsMimeParam {
  EmsMimeParam* next;
  char* name;
  char* value;
};

/// A MIME type.
struct EmsMimeType {
  int32_t size;
  char* version;
  char* type;
  char* subtype;
  EmsMimeParam* params;
  char* contentDisposition;
  EmsMimeParam* contentParams;
};

/// The header of a message handed to a translator.
struct EmsHeaderData {
  int32_t size;
  char* to;
  char* from;
  char* subject;
  char* cc;
  char* bcc;
  char* rawHeaders;  // the whole header block as text
};

/// A message file handed to or by a translator.
struct EmsDataFile {
  int32_t size;
  int32_t context;  // context bits: where the host is about to use the message
  EmsMimeType* info;
  char* fileName;
  EmsHeaderData* header;
};

/// Progress callback a host may give a translator.
typedef int32_t (*EmsProgress)(int32_t percent);

// The functions a module exports, by name.
typedef int32_t (*EmsPluginVersionFunction)(int16_t* version);
typedef int32_t (*EmsPluginInitFunction)(void** globals, int16_t hostVersion, EmsMailConfig* config,
                                         EmsPluginInfo* info);
typedef int32_t (*EmsPluginFinishFunction)(void* globals);
typedef int32_t (*EmsPluginConfigFunction)(void* globals, EmsMailConfig* config);
typedef int32_t (*EmsFreeFunction)(void* memory);
typedef int32_t (*EmsSpecialInfoFunction)(void* globals, EmsMenu* menu);
typedef int32_t (*EmsSpecialHookFunction)(void* globals, EmsMenu* menu);
typedef int32_t (*EmsTranslatorInfoFunction)(void* globals, EmsTranslator* translator);
typedef int32_t (*EmsCanTranslateFunction)(void* globals, EmsTranslator* translator, EmsDataFile* file,
                                           void* reserved);
typedef int32_t (*EmsTranslateFileFunction)(void* globals, EmsTranslator* translator, EmsDataFile* in,
                                            EmsProgress progress, EmsDataFile* out, void* status);

}  // extern "C"

namespace tarnwick::platform {

/// The interface version the host and the module speak.
inline constexpr int16_t kEmsInterfaceVersion = 4;

/// Result codes of the exported functions.
enum EmsResult : int32_t {
  kEmsSuccess = 0,
  kEmsNoEntry = 1,
  kEmsCannotTranslateThis = 2,
  kEmsOutOfRange = 3,
  kEmsOutputNotOpened = 6,
  kEmsHostCannotServe = 8,
  kEmsCanTranslateNow = 10,
  kEmsOpenedInViewer = 11,
  kEmsPageNotDownloaded = 12,
};

}  // namespace tarnwick::platform
