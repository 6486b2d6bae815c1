#!/usr/bin/env bash
# Lists every use of the POSIX API outside the platform seam (src/platform/*_posix.cpp; the
# Windows backends, *_win32.cpp, may include the Windows runtime's headers of the same names): the
# output is empty when the callers are free of it. Exit status 1 when nothing was found.
cd "$(dirname "$0")/.."
grep -rnE '#include <(unistd|fcntl|dirent|dlfcn|iconv|pthread|elf|fnmatch|strings|poll|signal|spawn|termios|pwd|grp|libgen|glob|link)\.h>|#include <(sys|netinet|arpa)/|\b(open|close|read|write|pread|pwrite|lseek|fsync|fdatasync|ftruncate|fstat|lstat|stat|unlink|rmdir|mkdir|opendir|readdir|closedir|realpath|readlink|dlopen|dlsym|dlclose|dladdr|dlerror|flock|fcntl|iconv_open|iconv|localtime_r|gmtime_r|strerror_r|setenv|unsetenv|inotify_init1|inotify_add_watch|mkstemp|mkostemp|getpid|isatty|fileno|fnmatch|strcasecmp|strncasecmp|copy_file_range|fchmod|chmod)\(|std::(rename|remove)\(|\bS_IS(DIR|REG)\b|\bO_(RDONLY|WRONLY|RDWR|CREAT|EXCL|TRUNC|APPEND|CLOEXEC)\b' \
  src host tools --include='*.cpp' --include='*.h' \
  | grep -vE '^src/platform/[a-z_]+_(posix|win32)\.cpp:' \
  | grep -vE '(\.|->)(open|close|read|write|stat)\(|std::remove\([a-z]+\.begin|OpenFlag open\('
