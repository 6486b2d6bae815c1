// A plug-in module loaded with dlopen finds the host program's connect function and reaches the
// published host through it, the way Tarnwick's module does inside tarnwick-host.
#include "core/host_core.h"
#include "core/host_registry.h"
#include "support/temp_dir.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace tarnwick::host {
namespace {

using SetStatusText = int (*)(const char*, char*, unsigned long);
using WindowCount = int (*)();

TEST(PluginModule, ConnectsToThePublishedHostThroughTheExportedFunction) {
  void* module = dlopen(TARNWICK_HOST_PROBE_MODULE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  auto setStatusText = reinterpret_cast<SetStatusText>(dlsym(module, "probe_set_status_text"));
  auto windowCount = reinterpret_cast<WindowCount>(dlsym(module, "probe_window_count"));
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
  dlclose(module);
}

}  // namespace
}  // namespace tarnwick::host
