// SPDX-License-Identifier: MIT
#include "cli/posix_io.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

namespace maskora {

std::size_t FileSource::Read(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, size);
    if (got >= 0) {
      return static_cast<std::size_t>(got);
    }
    if (errno != EINTR) {
      return 0;
    }
  }
}

WriteResult FileSink::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written >= 0) {
      bytes.remove_prefix(static_cast<std::size_t>(written));
    } else if (errno == EPIPE) {
      return WriteResult::ReaderGone;
    } else if (errno != EINTR) {
      return WriteResult::Failed;
    }
  }
  return WriteResult::Written;
}

int StartWindowProgram(const char* windowProgram, char** argv) {
  char self[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof(self) - 1);
  std::string path;
  if (length > 0) {
    path.assign(self, static_cast<std::size_t>(length));
    path.erase(path.rfind('/') + 1);
  }
  path += windowProgram;
  argv[0] = path.data();
  ::execv(path.c_str(), argv);
  std::fprintf(stderr, "maskora: the window program %s can't be started: %s\n", path.c_str(),
               std::strerror(errno));
  return 1;
}

}  // namespace maskora
