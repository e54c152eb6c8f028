// Identifiers of the main window's controls and the names that the handlers know them by.
// Tools that read the running window (the end-to-end test) use the same table.
#pragma once

#include <array>

namespace maskora::win32 {

inline constexpr wchar_t kFormClassName[] = L"MaskoraForm1";

// Control identifiers. None is 1 or 2: the dialog keys Enter and Escape send those.
enum ControlId : int {
  kIdTxtIP0 = 100,  // 100 to 103, element i at kIdTxtIP0 + i
  kIdCmbMask = 110,
  kIdCmdGetIpCli,
  kIdCmdGetIpSrv,
  kIdCmdCalc,
  kIdCmdSet,
  kIdTxtStato,
  kIdTxtTipo,
  kIdTxtClasse,
  kIdTxtBroadcast,
  kIdTxtHosts,
  kIdTxtNetwork,
  kIdLabel1,
  kIdLblDesc0 = 130,  // 130 to 137
  kIdLblDot0 = 140,   // 140 to 142
};

struct ControlName {
  int id;
  const char* name;
  int index;  // element of a control array, -1 for a single control
};

inline constexpr std::array<ControlName, 27> kControlNames = {{
    {kIdTxtIP0, "txtIP", 0},
    {kIdTxtIP0 + 1, "txtIP", 1},
    {kIdTxtIP0 + 2, "txtIP", 2},
    {kIdTxtIP0 + 3, "txtIP", 3},
    {kIdCmbMask, "cmbMask", -1},
    {kIdCmdGetIpCli, "cmdGetIpCli", -1},
    {kIdCmdGetIpSrv, "CmdGetIpSrv", -1},
    {kIdCmdCalc, "cmdCalc", -1},
    {kIdCmdSet, "cmdSet", -1},
    {kIdTxtStato, "txtStato", -1},
    {kIdTxtTipo, "txtTipo", -1},
    {kIdTxtClasse, "txtClasse", -1},
    {kIdTxtBroadcast, "txtBroadcast", -1},
    {kIdTxtHosts, "txtHosts", -1},
    {kIdTxtNetwork, "txtNetwork", -1},
    {kIdLabel1, "Label1", -1},
    {kIdLblDesc0, "lblDesc", 0},
    {kIdLblDesc0 + 1, "lblDesc", 1},
    {kIdLblDesc0 + 2, "lblDesc", 2},
    {kIdLblDesc0 + 3, "lblDesc", 3},
    {kIdLblDesc0 + 4, "lblDesc", 4},
    {kIdLblDesc0 + 5, "lblDesc", 5},
    {kIdLblDesc0 + 6, "lblDesc", 6},
    {kIdLblDesc0 + 7, "lblDesc", 7},
    {kIdLblDot0, "lblDot", 0},
    {kIdLblDot0 + 1, "lblDot", 1},
    {kIdLblDot0 + 2, "lblDot", 2},
}};

}  // namespace maskora::win32
