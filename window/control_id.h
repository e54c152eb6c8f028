// SPDX-License-Identifier: MIT
// The names of the window's controls, which the handlers and the bindings share.
#pragma once

namespace maskora {

// Every control, numbered in tab order.
enum class ControlId : int {
  lblDesc0,
  Label1,
  txtIP0,
  lblDot0,
  txtIP1,
  lblDot1,
  txtIP2,
  lblDot2,
  txtIP3,
  cmdGetIpCli,
  CmdGetIpSrv,
  lblDesc1,
  cmbMask,
  cmdCalc,
  lblDesc5,
  txtStato,
  lblDesc7,
  txtTipo,
  lblDesc6,
  txtClasse,
  cmdSet,
  lblDesc2,
  txtBroadcast,
  lblDesc3,
  txtHosts,
  lblDesc4,
  txtNetwork,
};

inline constexpr int kControlCount = 27;

// The octet field of the given element, 0 to 3.
constexpr ControlId OctetId(int index) {
  constexpr ControlId octets[] = {ControlId::txtIP0, ControlId::txtIP1, ControlId::txtIP2,
                                  ControlId::txtIP3};
  return octets[index];
}

}  // namespace maskora
