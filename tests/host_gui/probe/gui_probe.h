#pragma once

// A small plug-in module for the host's window tests: one Special-menu entry and one translator,
// recording how the host calls them. The tests reach its record and settings through the extra
// exports below (PluginSet::FindExport).

#include <cstdint>
#include <string>

/// What the probe saw, and what it is told to answer.
struct GuiProbe {
  // Told by the test.
  int32_t hookResult = 0;
  int32_t translateResult = 0;
  std::string translatedBody;                ///< the body written as the output on result 0
  void (*hookAction)(void* data) = nullptr;  ///< run inside ems_special_hook
  void* hookData = nullptr;
  // Seen.
  int hookCalls = 0;
  int32_t hookEntry = 0;
  int canTranslateCalls = 0;
  int translateCalls = 0;
  int32_t context = 0;
  std::string mimeType;       ///< "type/subtype" as the host passed it
  std::string subject;        ///< from the header record
  std::string rawHeaders;     ///< from the header record
  std::string inputText;      ///< the input file's bytes
  int outstandingBlocks = 0;  ///< blocks handed to the host and not yet given back through ems_free
  int finishCalls = 0;
};

/// The probe's one record (export "probe_record").
using GuiProbeRecordFunction = GuiProbe* (*)();

inline constexpr char kProbeSpecialEntry[] = "Probe Entry...";
inline constexpr char kProbeTranslator[] = "Get the Full Article";
