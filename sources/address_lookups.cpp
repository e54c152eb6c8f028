// SPDX-License-Identifier: MIT
#include "sources/address_lookups.h"

#include "sources/local_lookup.h"
#include "sources/public_lookup.h"

namespace maskora {

namespace {
constexpr double kCacheBustingScale = 100000;
}  // namespace

AddressLookups::AddressLookups(Sockets& sockets, Runtime& runtime, HttpClientFactory& clients,
                               Text endpoint)
    : sockets_(sockets), runtime_(runtime), clients_(clients), endpoint_(std::move(endpoint)) {}

Text AddressLookups::LookupLocalAddress(MessageBoxes& dialogs) {
  return maskora::LookupLocalAddress(sockets_, dialogs);
}

Text AddressLookups::PublicAddressText(MessageBoxes& dialogs) {
  if (endpoint_.empty()) {
    return LookupLocalAddress(dialogs);
  }
  // A different number in every URL keeps caches on the way from answering for the script.
  const double number = runtime_.NextRandom() * kCacheBustingScale + 1;
  const auto client = clients_.Create();
  const Text url = EndpointUrl(endpoint_, number, runtime_.DecimalSeparator());
  Text text = FetchUrlText(*client, url, runtime_);
  if (text.empty()) {
    text = LookupLocalAddress(dialogs);
  }
  return text;
}

}  // namespace maskora
