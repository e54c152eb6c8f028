// The address sources that the window's CLI and SRV buttons use.
#pragma once

#include "sources/http_client.h"
#include "sources/sockets.h"
#include "window/contract.h"
#include "window/ports.h"

namespace maskora {

// The host that carries the address script: the environment variable MASKORA_SRV_HOST when
// set and not empty, otherwise the host chosen at build time. May end in ":port".
Text SrvHost();

class AddressLookups : public AddressSources {
 public:
  AddressLookups(Sockets& sockets, MessageBoxes& dialogs, Runtime& runtime,
                 HttpClientFactory& clients, Text srvHost = SrvHost());

  Text LookupLocalAddress() override;
  // Lets FormUnloaded through: a window closed during the request gets no local lookup.
  Text PublicAddressText() override;

 private:
  Sockets& sockets_;
  MessageBoxes& dialogs_;
  Runtime& runtime_;
  HttpClientFactory& clients_;
  Text srvHost_;
};

}  // namespace maskora
