// SPDX-License-Identifier: MIT
// The endpoint as the program reads it at start-up: the variable, else the settings file in the
// platform's place, else the build's default, and nothing that cannot be used. Runs on each
// platform against its real environment and file system.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/text.h"
#include "sources/endpoint.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace maskora {
namespace {

using namespace std::string_literals;

#ifdef _WIN32
constexpr char kFolderVariable[] = "APPDATA";
constexpr char kSettingsFile[] = "Maskora/maskora.ini";
constexpr char kSettingsFileAsNamed[] = "\\Maskora\\maskora.ini";

// The program reads the environment through the wide functions.
int ProcessId() {
  return static_cast<int>(GetCurrentProcessId());
}

void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  const std::wstring wide(name.begin(), name.end());
  const std::wstring text = value ? std::wstring(value->begin(), value->end()) : L"";
  SetEnvironmentVariableW(wide.c_str(), value ? text.c_str() : nullptr);
}
#else
constexpr char kFolderVariable[] = "XDG_CONFIG_HOME";
constexpr char kSettingsFile[] = "maskora/maskora.conf";
constexpr char kSettingsFileAsNamed[] = "/maskora/maskora.conf";

int ProcessId() {
  return static_cast<int>(getpid());
}

void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  if (value) {
    ::setenv(name.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name.c_str());
  }
}
#endif

constexpr char kOff[] = "; \"&SRV\" is switched off and gives the local address";

// ASCII text as UTF-16 or UTF-32 bytes in the given order, after the mark given.
std::string Wide(std::string_view mark, std::string_view ascii, int width, bool bigEndian) {
  std::string bytes(mark);
  for (const char c : ascii) {
    std::string unit(static_cast<std::size_t>(width), '\0');
    unit[bigEndian ? unit.size() - 1 : 0] = c;
    bytes += unit;
  }
  return bytes;
}

std::string Utf16(std::string_view ascii) {
  return Wide("\xFF\xFE", ascii, 2, false);
}

// A settings folder of its own, named by the platform's variable; gone with the object.
class SettingsFolder {
 public:
  SettingsFolder()
      : folder_(std::filesystem::temp_directory_path() /
                ("maskora-endpoint-test-" + std::to_string(ProcessId()))),
        file_(folder_ / kSettingsFile) {
    std::filesystem::create_directories(file_.parent_path());
    SetVariable(kFolderVariable, folder_.string());
    SetVariable(kEndpointVariable, std::nullopt);
  }
  SettingsFolder(const SettingsFolder&) = delete;
  SettingsFolder& operator=(const SettingsFolder&) = delete;
  ~SettingsFolder() {
    SetVariable(kEndpointVariable, std::nullopt);
    std::filesystem::remove_all(folder_);
  }

  const std::filesystem::path& file() const { return file_; }
  // The start of a problem line about the file, as the program names it.
  std::string Named() const {
    return "maskora: settings file " + folder_.string() + kSettingsFileAsNamed + ": ";
  }
  void Write(const std::string& bytes) const {
    std::filesystem::remove_all(file_);
    std::ofstream(file_, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path folder_;
  std::filesystem::path file_;
};

// ConfiguredEndpoint on a thread of its own: a regression that waits on the file fails the
// test, and release then lets it go, rather than the suite hanging.
EndpointSetting WithoutWaiting(const std::function<void()>& release) {
  auto setting = std::async(std::launch::async, ConfiguredEndpoint);
  if (setting.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    ADD_FAILURE() << "the settings file was waited on";
    release();
  }
  return setting.get();
}

TEST(ConfiguredEndpoint, VariableThenSettingsFileThenBuild) {
  struct Case {
    std::optional<std::string> variable;
    std::optional<std::string> file;
    Text endpoint;
  };
  const Case cases[] = {
      {std::nullopt, "# Maskora\nsrv_endpoint = file.test:8443\n", u"file.test:8443"},
      {std::nullopt, "\xEF\xBB\xBF[Maskora]\r\nsrv_endpoint=https://file.test/ip\r\n",
       u"https://file.test/ip"},
      {std::nullopt, Utf16("srv_endpoint = utf16.test\r\n"), u"utf16.test"},
      {std::nullopt, Wide("\xFE\xFF", "srv_endpoint = utf16be.test\r\n", 2, true), u"utf16be.test"},
      {std::nullopt, "srv_endpoint =\n", u""},
      {"env.test", "srv_endpoint = file.test\n", u"env.test"},
      {"", "srv_endpoint = file.test\n", u""},
      {"env.test", std::string(kLargestSettingsFile + 1, '#'), u"env.test"},
      {std::nullopt, "other = file.test\n", BuiltInEndpoint()},
      {std::nullopt, std::nullopt, BuiltInEndpoint()},
  };
  const SettingsFolder folder;
  for (const Case& c : cases) {
    std::filesystem::remove(folder.file());
    if (c.file) {
      folder.Write(*c.file);
    }
    SetVariable(kEndpointVariable, c.variable);
    const EndpointSetting setting = ConfiguredEndpoint();
    EXPECT_EQ(setting.endpoint, c.endpoint)
        << c.variable.value_or("(unset)") << " / " << c.file.value_or("(no file)");
    EXPECT_EQ(setting.problem, std::nullopt) << *setting.problem;
  }
}

TEST(ConfiguredEndpoint, AFileThatCannotBeUsedSwitchesTheRequestOff) {
  // The key's line ends past the bound, with the port cut after "41533" at the bound.
  const std::string portLine = "srv_endpoint = 127.0.0.1:415339\n";
  const std::string filler = std::string(kLargestSettingsFile - portLine.size() + 2, '#') + "\n";
  struct Case {
    std::string bytes;
    std::string reason;
  };
  const Case cases[] = {
      {filler.substr(1) + portLine, "larger than 64 KiB"},
      {Wide("", "srv_endpoint =\n", 2, false), "neither UTF-8 nor UTF-16 with a byte order mark"},
      {Wide("", "srv_endpoint =\n", 2, true), "neither UTF-8 nor UTF-16 with a byte order mark"},
      {Wide("\xFF\xFE\x00\x00"s, "srv_endpoint =\n", 4, false),
       "neither UTF-8 nor UTF-16 with a byte order mark"},
      {Wide("\x00\x00\xFE\xFF"s, "srv_endpoint =\n", 4, true),
       "neither UTF-8 nor UTF-16 with a byte order mark"},
      {"srv_endpoint = host#x\n", "srv_endpoint \"host#x\": \"#\" cannot stand in a host name"},
  };
  const SettingsFolder folder;
  for (const Case& c : cases) {
    folder.Write(c.bytes);
    const EndpointSetting setting = ConfiguredEndpoint();
    EXPECT_EQ(setting.endpoint, u"") << c.reason;
    EXPECT_EQ(setting.problem, folder.Named() + c.reason + kOff);
  }
  // At the bound, the same key is read.
  folder.Write(filler.substr(1) + "srv_endpoint = 127.0.0.1:4153\n");
  EXPECT_EQ(ConfiguredEndpoint().endpoint, u"127.0.0.1:4153");

  std::filesystem::remove(folder.file());
  std::filesystem::create_directory(folder.file());
  const EndpointSetting directory = WithoutWaiting([] {});
  EXPECT_EQ(directory.endpoint, u"");
  EXPECT_EQ(directory.problem, folder.Named() + "not a regular file" + kOff);
}

#ifdef _WIN32
TEST(ConfiguredEndpoint, APipeOrALockedFileIsNeverWaitedOn) {
  const std::string name = "\\\\.\\pipe\\maskora-endpoint-test-" + std::to_string(ProcessId());
  const std::wstring pipe = std::wstring(name.begin(), name.end()) + L"\\Maskora\\maskora.ini";
  HANDLE server = CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                   0, 0, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  SetVariable(kFolderVariable, name);
  const EndpointSetting piped = WithoutWaiting([&] { DisconnectNamedPipe(server); });
  CloseHandle(server);
  EXPECT_EQ(piped.endpoint, u"");
  EXPECT_EQ(piped.problem,
            "maskora: settings file " + name + "\\Maskora\\maskora.ini: not a regular file" + kOff);

  const SettingsFolder folder;
  folder.Write("srv_endpoint = file.test\n");
  HANDLE locked = CreateFileW(folder.file().wstring().c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  const EndpointSetting setting = ConfiguredEndpoint();
  CloseHandle(locked);
  EXPECT_EQ(setting.endpoint, u"");
  ASSERT_TRUE(setting.problem);
  EXPECT_TRUE(setting.problem->starts_with(folder.Named() + "cannot be read ("))
      << *setting.problem;
}
#else
TEST(ConfiguredEndpoint, NothingButARegularFileIsOpenedOrWaitedOn) {
  const SettingsFolder folder;
  const std::string path = folder.file().string();
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  const EndpointSetting fifo = WithoutWaiting([&] {
    // A writer that comes and goes ends a wait in open or in read.
    const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) {
      ::close(writer);
    }
  });
  EXPECT_EQ(fifo.endpoint, u"");
  EXPECT_EQ(fifo.problem, folder.Named() + "not a regular file" + kOff);

  struct Case {
    std::filesystem::path target;
    std::string problem;
  };
  const auto regular = folder.file().parent_path() / "regular.conf";
  std::ofstream(regular) << "srv_endpoint = linked.test\n";
  const Case links[] = {
      {"/dev/tty", "not a regular file"},
      {"/dev/null", "not a regular file"},
      {folder.file().parent_path() / "missing.conf", "a link to a file that does not exist"},
      {folder.file(), "cannot be read (Too many levels of symbolic links)"},
      {regular, ""},
  };
  for (const Case& c : links) {
    std::filesystem::remove(folder.file());
    std::filesystem::create_symlink(c.target, folder.file());
    const EndpointSetting setting = WithoutWaiting([] {});
    if (c.problem.empty()) {
      EXPECT_EQ(setting.endpoint, u"linked.test");
      EXPECT_EQ(setting.problem, std::nullopt);
    } else {
      EXPECT_EQ(setting.endpoint, u"") << c.target;
      EXPECT_EQ(setting.problem, folder.Named() + c.problem + kOff);
    }
  }
}
#endif

}  // namespace
}  // namespace maskora
