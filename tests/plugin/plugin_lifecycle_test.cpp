// The module as the host uses it: loaded with dlopen, initialised, finished and unloaded.
#include "platform/ems_records.h"
#include "support/temp_dir.h"

#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <sys/stat.h>

#include <filesystem>

namespace tarnwick::plugin {
namespace {

int CountEntries(const char* folder) {
  int count = 0;
  if (DIR* dir = opendir(folder)) {
    while (readdir(dir) != nullptr) ++count;
    closedir(dir);
  }
  return count;
}

// The threads of the process once those already on their way out have gone: the system's graphics
// libraries end short-lived helper threads of their own a moment after their work.
int CountThreadsSettledAt(int expected) {
  int threads = CountEntries("/proc/self/task");
  for (int wait = 0; wait < 50 && threads > expected; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    threads = CountEntries("/proc/self/task");
  }
  return threads;
}

class LoadedModule {
public:
  explicit LoadedModule(const std::string& path) : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
  ~LoadedModule() {
    if (handle_ != nullptr) dlclose(handle_);
  }
  bool Loaded() const { return handle_ != nullptr; }
  template <typename Function>
  Function Get(const char* name) const {
    return reinterpret_cast<Function>(dlsym(handle_, name));
  }

private:
  void* handle_;
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
    EXPECT_TRUE(loaded.Loaded()) << dlerror();
    if (!loaded.Loaded()) return false;
    auto init = loaded.Get<EmsPluginInitFunction>("ems_plugin_init");
    auto finish = loaded.Get<EmsPluginFinishFunction>("ems_plugin_finish");
    auto release = loaded.Get<EmsFreeFunction>("ems_free");
    EXPECT_TRUE(init && finish && release);
    int threadsBefore = CountEntries("/proc/self/task");
    EmsMailConfig config{sizeof(EmsMailConfig), nullptr, plugins.data()};
    EmsPluginInfo info{};
    EXPECT_EQ(init(nullptr, hostVersion, &config, &info), 0);
    EXPECT_STREQ(info.description, "Tarnwick, Version: 1.0");
    EXPECT_EQ(info.numSpecials, 1);
    EXPECT_EQ(info.numTranslators, 1);
    EXPECT_EQ(info.id, 4410);
    bool schedulerRan = CountEntries("/proc/self/task") > threadsBefore;
    if (finishing) EXPECT_EQ(finish(nullptr), 0);
    release(info.description);
    release(info.icon);
    return schedulerRan;
  }

  test::TempDir dir;
  std::string plugins = dir.File("plugins");
  std::string module = plugins + "/libtarnwick.so";
};

TEST_F(PluginLifecycle, SchedulerRunsOnlyForInterfaceFourAndLater) {
  EXPECT_TRUE(RunOnce(4));
  EXPECT_FALSE(RunOnce(3));
}

TEST_F(PluginLifecycle, LoadingAHundredTimesLeaksNoThreadAndNoDescriptor) {
  RunOnce(4);  // the first load maps what stays for the process (the C++ runtime, libcurl)
  int threads = CountEntries("/proc/self/task");
  int descriptors = CountEntries("/proc/self/fd");
  for (int i = 0; i < 100; ++i) RunOnce(4);
  // At most as many: a helper thread of the first load may have ended meanwhile.
  EXPECT_LE(CountThreadsSettledAt(threads), threads);
  EXPECT_EQ(CountEntries("/proc/self/fd"), descriptors);
}

TEST_F(PluginLifecycle, UnloadingWithoutFinishingStillEndsTheScheduler) {
  RunOnce(4);
  int threads = CountEntries("/proc/self/task");
  EXPECT_TRUE(RunOnce(4, false));
  EXPECT_EQ(CountEntries("/proc/self/task"), threads);
  EXPECT_TRUE(RunOnce(4));  // and the module loads and starts again afterwards
}

}  // namespace
}  // namespace tarnwick::plugin
