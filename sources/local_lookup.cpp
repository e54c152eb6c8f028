// SPDX-License-Identifier: MIT
#include "sources/local_lookup.h"

#include <array>
#include <string>
#include <string_view>

#include "core/text.h"

namespace maskora {

namespace {

constexpr int kHostNameBufferLength = 256;
constexpr int kSocketError = -1;
constexpr int kFewestSockets = 1;

Text Decimal(long long value) {
  return Widen(std::to_string(value));
}

// The name as the resolver sees it: the buffer less spaces at both ends, up to its first NUL.
std::string NameFromBuffer(std::string_view buffer) {
  const auto first = buffer.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  buffer = buffer.substr(first, buffer.find_last_not_of(' ') - first + 1);
  return std::string(buffer.substr(0, buffer.find('\0')));
}

Text DottedBytes(const AddressBytes& bytes) {
  Text text;
  for (const std::uint8_t byte : bytes) {
    text += Decimal(byte);
    text += u'.';
  }
  if (!text.empty()) {
    text.pop_back();
  }
  return text;
}

}  // namespace

std::uint8_t LowByteOf(std::uint16_t value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t HighByteOf(std::uint16_t value) {
  return static_cast<std::uint8_t>(value >> 8);
}

bool StartSockets(Sockets& sockets, MessageBoxes& dialogs) {
  SocketsData data;
  if (sockets.Startup(kRequestedSocketsVersion, data) != 0) {
    dialogs.ShowMessage(
        u"Windows Sockets for 32 bit Windows environments is not successfully responding.",
        MessageIcon::None);
    return false;
  }
  const unsigned major = LowByteOf(data.wVersion);
  const unsigned minor = HighByteOf(data.wVersion);
  if (major < 1 || (major == 1 && minor < 1)) {
    dialogs.ShowMessage(
        u"Windows Sockets Version " + Decimal(major) + u"." + Decimal(minor) +
            u" is not supported by Windows Sockets for 32 bit Windows environments.",
        MessageIcon::Exclamation);
    StopSockets(sockets, dialogs);
    return false;
  }
  if (data.iMaxSockets < kFewestSockets) {
    dialogs.ShowMessage(u"This application requires a minimum of " + Decimal(kFewestSockets) +
                            u" supported sockets.",
                        MessageIcon::Exclamation);
    StopSockets(sockets, dialogs);
    return false;
  }
  return true;
}

bool StopSockets(Sockets& sockets, MessageBoxes& dialogs) {
  const int result = sockets.Cleanup();
  if (result == 0) {
    return true;
  }
  dialogs.ShowMessage(u"Windows Sockets error " + Decimal(result) + u" occurred in Cleanup.",
                      MessageIcon::Exclamation);
  return false;
}

Text LookupLocalAddress(Sockets& sockets, MessageBoxes& dialogs) {
  if (!StartSockets(sockets, dialogs)) {
    return {};
  }
  Text result;
  std::array<char, kHostNameBufferLength> buffer;
  buffer.fill(' ');
  if (sockets.GetHostName(buffer) == kSocketError) {
    result = u"Windows Sockets error " + Decimal(sockets.LastError()) +
             u" has occurred. Unable to successfully get Host Name.";
  } else {
    const auto addresses =
        sockets.GetHostByName(NameFromBuffer(std::string_view(buffer.data(), buffer.size())));
    if (!addresses || addresses->empty()) {
      result = u"Windows Sockets are not responding. Unable to successfully get Host Name.";
    } else {
      result = DottedBytes(addresses->front());
    }
  }
  StopSockets(sockets, dialogs);
  return result;
}

}  // namespace maskora
