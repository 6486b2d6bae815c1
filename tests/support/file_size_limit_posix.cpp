#include "support/file_size_limit.h"

#include <sys/resource.h>

#include <csignal>

namespace tarnwick::test {

struct FileSizeLimit::Previous {
  rlimit limit{};
  void (*signal)(int) = nullptr;
};

FileSizeLimit::FileSizeLimit(uint64_t bytes) : previous_(std::make_unique<Previous>()) {
  getrlimit(RLIMIT_FSIZE, &previous_->limit);
  previous_->signal = std::signal(SIGXFSZ, SIG_IGN);  // the write fails rather than the program
  rlimit limit = previous_->limit;
  limit.rlim_cur = static_cast<rlim_t>(bytes);
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &previous_->limit);
  std::signal(SIGXFSZ, previous_->signal);
}

bool FileSizeLimit::Works() {
  return true;
}

}  // namespace tarnwick::test
