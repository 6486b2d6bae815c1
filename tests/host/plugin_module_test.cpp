// A plug-in module loaded with dlopen finds the host program's connect function and reaches the
// published host through it, the way Tarnwick's module does inside tarnwick-host.
#include "core/host_core.h"
#include "core/host_registry.h"
#include "platform/dynamic_library.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarnwick::host {
namespace {

using SetStatusText = int (*)(const char*, char*, unsigned long);
using WindowCount = int (*)();

TEST(PluginModule, ConnectsToThePublishedHostThroughTheExportedFunction) {
  std::string loadError;
  platform::DynamicLibrary module = platform::DynamicLibrary::Load(TARNWICK_HOST_PROBE_MODULE, loadError);
  ASSERT_TRUE(module.IsLoaded()) << loadError;
  auto setStatusText = reinterpret_cast<SetStatusText>(module.Symbol("probe_set_status_text"));
  auto windowCount = reinterpret_cast<WindowCount>(module.Symbol("probe_window_count"));
  ASSERT_TRUE(setStatusText && windowCount);
  char error[512];

  EXPECT_EQ(setStatusText("before", error, sizeof error), 0);
  EXPECT_NE(std::string(error).find("not running"), std::string::npos) << error;
  EXPECT_EQ(windowCount(), -1);

  tarnwick::test::TempDir dir;
  std::string errorText;
  std::shared_ptr<HostCore> core = HostCore::Open(dir.Path(), {}, errorText);
  ASSERT_TRUE(core) << errorText;
  PublishHost(core);
  core->Windows()->OpenMailboxWindow(kInMailboxId, "In");
  EXPECT_EQ(setStatusText("Tarnwick. For Help, press F1.", error, sizeof error), 1) << error;
  EXPECT_EQ(core->Windows()->StatusText(), "Tarnwick. For Help, press F1.");
  EXPECT_EQ(windowCount(), 1);
  WithdrawHost(core.get());
}

}  // namespace
}  // namespace tarnwick::host
