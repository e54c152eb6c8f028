// SPDX-License-Identifier: MIT
#include "sources/address_lookups.h"

#include "sources/local_lookup.h"
#include "sources/public_lookup.h"

namespace maskora {

namespace {
constexpr double kCacheBustingScale = 100000;
}  // namespace

AddressLookups::AddressLookups(Sockets& sockets, MessageBoxes& dialogs, Runtime& runtime,
                               HttpClientFactory& clients, Text endpoint)
    : sockets_(sockets),
      dialogs_(dialogs),
      runtime_(runtime),
      clients_(clients),
      endpoint_(std::move(endpoint)) {}

Text AddressLookups::LookupLocalAddress() {
  return maskora::LookupLocalAddress(sockets_, dialogs_);
}

Text AddressLookups::PublicAddressText() {
  if (endpoint_.empty()) {
    return LookupLocalAddress();
  }
  // A different number in every URL keeps caches on the way from answering for the script.
  const double number = runtime_.Rnd() * kCacheBustingScale + 1;
  const auto client = clients_.Create();
  const Text url = EndpointUrl(endpoint_, number, runtime_.DecimalSeparator());
  Text text = FetchUrlText(*client, url, runtime_);
  if (text.empty()) {
    text = LookupLocalAddress();
  }
  return text;
}

}  // namespace maskora
