// SPDX-License-Identifier: MIT
// The address sources that the window's CLI and SRV buttons use.
#pragma once

#include "sources/http_client.h"
#include "sources/sockets.h"
#include "window/contract.h"
#include "window/ports.h"

namespace maskora {

class AddressLookups : public AddressSources {
 public:
  AddressLookups(Sockets& sockets, MessageBoxes& dialogs, Runtime& runtime,
                 HttpClientFactory& clients, Text endpoint);

  Text LookupLocalAddress() override;
  // The endpoint's answer, else the local address; at once when the endpoint is switched off.
  // Lets FormUnloaded through: a window closed during the request gets no local lookup.
  Text PublicAddressText() override;

 private:
  Sockets& sockets_;
  MessageBoxes& dialogs_;
  Runtime& runtime_;
  HttpClientFactory& clients_;
  Text endpoint_;
};

}  // namespace maskora
