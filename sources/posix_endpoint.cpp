// SPDX-License-Identifier: MIT
#include "sources/posix_endpoint.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/utf8.h"
#include "sources/endpoint.h"

namespace maskora {

namespace {

SettingsFile Unreadable(SettingsFile file, int error) {
  file.state = SettingsFile::State::Unreadable;
  file.error = std::strerror(error);
  return file;
}

}  // namespace

std::string SettingsFilePath(const char* xdgConfigHome, const char* home) {
  constexpr char kFile[] = "/maskora/maskora.conf";
  // XDG base directories must be absolute paths; a relative value is ignored.
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
    return xdgConfigHome + std::string(kFile);
  }
  if (home != nullptr && home[0] != '\0') {
    return home + std::string("/.config") + kFile;
  }
  return {};
}

SettingsFile ReadSettingsFile(const std::string& path) {
  SettingsFile file;
  file.path = path;
  if (path.empty()) {
    return file;
  }
  // Looked at before it is opened: opening a device can have effects of its own.
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    const int error = errno;
    struct stat link {};
    if (error == ENOENT && ::lstat(path.c_str(), &link) == 0) {
      file.state = SettingsFile::State::BrokenLink;
      return file;
    }
    return error == ENOENT || error == ENOTDIR ? file : Unreadable(file, error);
  }
  if (!S_ISREG(status.st_mode)) {
    file.state = SettingsFile::State::NotRegular;
    return file;
  }
  // Without waiting, and checked again once open: the file may have been swapped for a FIFO.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) {
    return Unreadable(file, errno);
  }
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    file.state = SettingsFile::State::NotRegular;
    return file;
  }
  // One byte past the bound tells a file that is too large.
  file.bytes.resize(kLargestSettingsFile + 1);
  std::size_t size = 0;
  while (size < file.bytes.size()) {
    const ssize_t got = ::read(descriptor, file.bytes.data() + size, file.bytes.size() - size);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      const int error = errno;
      ::close(descriptor);
      return Unreadable(file, error);
    }
    if (got == 0) {
      break;
    }
    size += static_cast<std::size_t>(got);
  }
  ::close(descriptor);
  file.bytes.resize(size);
  file.state = SettingsFile::State::Read;
  return file;
}

EndpointSetting ConfiguredEndpoint() {
  const char* variable = std::getenv(kEndpointVariable);
  if (variable != nullptr) {
    return ChooseEndpoint(Utf8ToText(variable), SettingsFile{}, BuiltInEndpoint());
  }
  return ChooseEndpoint(
      std::nullopt,
      ReadSettingsFile(SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"))),
      BuiltInEndpoint());
}

}  // namespace maskora
