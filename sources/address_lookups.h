// SPDX-License-Identifier: MIT
// The address sources that the window's CLI and SRV buttons use.
#pragma once

#include "core/message_boxes.h"
#include "core/runtime.h"
#include "core/text.h"
#include "sources/http_client.h"
#include "sources/sockets.h"
#include "window/ports.h"

namespace maskora {

class AddressLookups : public AddressSources {
 public:
  AddressLookups(Sockets& sockets, Runtime& runtime, HttpClientFactory& clients, Text endpoint);

  Text LookupLocalAddress(MessageBoxes& dialogs) override;
  // The endpoint's answer, else the local address; at once when the endpoint is switched off.
  // Lets FormUnloaded through: a window closed during the request gets no local lookup.
  Text PublicAddressText(MessageBoxes& dialogs) override;

 private:
  Sockets& sockets_;
  Runtime& runtime_;
  HttpClientFactory& clients_;
  Text endpoint_;
};

}  // namespace maskora
