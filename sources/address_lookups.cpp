#include "sources/address_lookups.h"

#include <cstdlib>
#include <string_view>

#include "sources/local_lookup.h"
#include "sources/public_lookup.h"

namespace maskora {

namespace {
constexpr double kCacheBustingScale = 100000;
}  // namespace

Text SrvHost() {
  const char* value = std::getenv("MASKORA_SRV_HOST");
  const std::string_view host = (value != nullptr && *value != '\0') ? value : MASKORA_SRV_HOST;
  return Text(host.begin(), host.end());
}

AddressLookups::AddressLookups(Sockets& sockets, MessageBoxes& dialogs, Runtime& runtime,
                               HttpClientFactory& clients, Text srvHost)
    : sockets_(sockets),
      dialogs_(dialogs),
      runtime_(runtime),
      clients_(clients),
      srvHost_(std::move(srvHost)) {}

Text AddressLookups::LookupLocalAddress() {
  return maskora::LookupLocalAddress(sockets_, dialogs_);
}

Text AddressLookups::PublicAddressText() {
  // A different number in every URL keeps caches on the way from answering for the script.
  const double number = runtime_.Rnd() * kCacheBustingScale + 1;
  const auto client = clients_.Create();
  const Text url = ScriptUrl(srvHost_, number, runtime_.DecimalSeparator());
  Text text = FetchUrlText(*client, url, runtime_);
  if (text.empty()) {
    text = LookupLocalAddress();
  }
  return text;
}

}  // namespace maskora
