// The module as the host uses it: loaded with dlopen, initialised, finished and unloaded.
#include "platform/dynamic_library.h"
#include "platform/ems_records.h"
#include "support/process_resources.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <set>
#include <string>

namespace tarnwick::plugin {
namespace {

// The entries of `now` that `before` did not have.
std::set<std::string> Added(const std::set<std::string>& before, const std::set<std::string>& now) {
  std::set<std::string> added;
  std::set_difference(now.begin(), now.end(), before.begin(), before.end(), std::inserter(added, added.end()));
  return added;
}

class LoadedModule {
public:
  explicit LoadedModule(const std::string& path) : library_(platform::DynamicLibrary::Load(path, errorText_)) {}
  bool Loaded() const { return library_.IsLoaded(); }
  const std::string& ErrorText() const { return errorText_; }
  template <typename Function>
  Function Get(const char* name) const {
    return reinterpret_cast<Function>(library_.Symbol(name));
  }

private:
  std::string errorText_;
  platform::DynamicLibrary library_;
};

class PluginLifecycle : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(plugins);
    std::filesystem::copy_file(TARNWICK_MODULE_FILE, module);
  }

  // Loads, initialises with the interface version given, finishes (unless told not to) and
  // unloads the module once.
  // Returns whether the scheduler ran between init and finish (its thread showed up).
  bool RunOnce(int16_t hostVersion, bool finishing = true) {
    LoadedModule loaded(module);
    EXPECT_TRUE(loaded.Loaded()) << loaded.ErrorText();
    if (!loaded.Loaded()) return false;
    auto init = loaded.Get<EmsPluginInitFunction>("ems_plugin_init");
    auto finish = loaded.Get<EmsPluginFinishFunction>("ems_plugin_finish");
    auto release = loaded.Get<EmsFreeFunction>("ems_free");
    EXPECT_TRUE(init && finish && release);
    const std::set<std::string> threadsBefore = test::ThreadIds();
    EmsMailConfig config{sizeof(EmsMailConfig), nullptr, plugins.data()};
    EmsPluginInfo info{};
    EXPECT_EQ(init(nullptr, hostVersion, &config, &info), 0);
    EXPECT_STREQ(info.description, "Tarnwick, Version: 1.0");
    EXPECT_EQ(info.numSpecials, 1);
    EXPECT_EQ(info.numTranslators, 1);
    EXPECT_EQ(info.id, 4410);
    bool schedulerRan = !Added(threadsBefore, test::ThreadIds()).empty();
    if (finishing) EXPECT_EQ(finish(nullptr), 0);
    release(info.description);
    release(info.icon);
    return schedulerRan;
  }

  test::TempDir dir;
  std::string plugins = dir.File("plugins");
  std::string module = plugins + "/" + platform::ModuleFileName("tarnwick");
};

TEST_F(PluginLifecycle, SchedulerRunsOnlyForInterfaceFourAndLater) {
  EXPECT_TRUE(RunOnce(4));
  EXPECT_FALSE(RunOnce(3));
}

TEST_F(PluginLifecycle, LoadingAHundredTimesLeaksNoThreadAndNoDescriptor) {
  RunOnce(4);  // the first load maps what stays for the process (the C++ runtime, libcurl)
  const std::set<std::string> threads = test::ThreadIds();
  const size_t descriptors = test::OpenHandleCount();
  for (int i = 0; i < 100; ++i) RunOnce(4);
  EXPECT_TRUE(Added(threads, test::ThreadIds()).empty());
  EXPECT_EQ(test::OpenHandleCount(), descriptors);
}

// A host that unloads the module without finishing it does not wait there. The scheduler ends with
// the module where an unloading module can wait for its threads; elsewhere the module stays loaded
// with it until the next load's finish.
TEST_F(PluginLifecycle, UnloadingWithoutFinishingNeitherHangsNorLeavesTheSchedulerBehind) {
  RunOnce(4);
  const std::set<std::string> threads = test::ThreadIds();
  EXPECT_TRUE(RunOnce(4, false));
  if (test::UnloadingModulesCanJoinTheirThreads()) EXPECT_TRUE(Added(threads, test::ThreadIds()).empty());
  RunOnce(4);  // the module loads and starts again, and its finish ends every thread
  EXPECT_TRUE(Added(threads, test::ThreadIds()).empty());
}

}  // namespace
}  // namespace tarnwick::plugin
