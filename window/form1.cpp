// SPDX-License-Identifier: MIT
// Start-up, shut-down, the About box, the mask list, the recalculation and the address buttons.
#include "window/form1.h"

#include <array>

#include "address/address.h"
#include "window/text.h"
#include "window/version.h"

namespace maskora {

namespace {

constexpr int kMaskEntries = 33;
// Longest failure text shown when a lookup gives no address: a web page can be large.
constexpr std::size_t kShownFailureChars = 200;

Text AboutText() {
  return u"Maskora " + Widen(kVersion) +
         u"\n\nCalcola rete, broadcast, host e classe di un indirizzo IPv4.";
}

Text AppTitle() {
  return Text(kForm1.appTitle);
}

std::string MaskEntryText(int hostBits) {
  const int prefix = 32 - hostBits;
  const std::string pad = prefix < 10 ? " " : "";
  const AddressValue wildcard = UnsignedToSigned(static_cast<double>((1ULL << hostBits) - 1));
  return "(" + pad + std::to_string(prefix) + pad + ") " + AddressToDotted(~wildcard);
}

}  // namespace

Form1::Form1(const Form1Controls& controls, const Form1Services& services)
    : c_(controls), s_(services) {}

void Form1::Form_Load() {
  s_.runtime.Randomize(s_.runtime.Timer());
  RiempiMask();
  c_.cmbMask->SetListIndex(kOpeningHostBits);
  s_.wheel.HookWheel();
}

void Form1::Form_Unload() {
  s_.wheel.UnhookWheel();
}

void Form1::cmdCalc_Click() {
  s_.dialogs.MsgBox(AboutText(), MessageIcon::Information, AppTitle());
}

void Form1::RiempiMask() {
  c_.cmbMask->Clear();
  for (int prefix = 32; prefix >= 0; --prefix) {
    c_.cmbMask->AddItem(Widen(MaskEntryText(32 - prefix)));
  }
}

void Form1::Calcola() {
  std::array<double, 4> octets{};
  for (std::size_t i = 0; i < octets.size(); ++i) {
    octets[i] = LeadingNumber(Narrow(c_.txtIP[i]->GetText()));
  }
  const int hostBits = c_.cmbMask->ListIndex();
  // The list always has a selection once the window is loaded; without one there is nothing
  // to evaluate, and the fields keep their last results.
  if (hostBits < 0 || hostBits >= kMaskEntries) {
    return;
  }
  const SubnetResult r = EvaluateSubnet(octets, hostBits);
  c_.txtBroadcast->SetText(Widen(r.BroadcastText));
  c_.txtNetwork->SetText(Widen(r.NetworkText));
  c_.txtHosts->SetText(Widen(r.HostsText));
  c_.txtStato->SetText(Widen(r.StatusText));
  c_.txtClasse->SetText(Widen(r.ClassText));
  if (r.ClassHostBits) {
    c_.cmdSet->SetTag(Widen(std::to_string(*r.ClassHostBits)));
    c_.cmdSet->SetEnabled(true);
  } else {
    c_.cmdSet->SetEnabled(false);
  }
  c_.txtTipo->SetText(Widen(r.TypeText));
}

void Form1::cmbMask_Click() {
  Calcola();
}

void Form1::cmdSet_Click() {
  const double index = LeadingNumber(Narrow(c_.cmdSet->Tag()));
  if (index >= 0 && index < kMaskEntries) {
    c_.cmbMask->SetListIndex(static_cast<int>(index));
  }
}

void Form1::EnterAddress(const AddressEntry& entry) {
  for (std::size_t i = 0; i < c_.txtIP.size(); ++i) {
    c_.txtIP[i]->SetText(Widen(std::to_string(entry.octets[i])));
  }
  if (entry.hostBits && *entry.hostBits != c_.cmbMask->ListIndex()) {
    c_.cmbMask->SetListIndex(*entry.hostBits);  // its click recalculates
  } else {
    Calcola();
  }
}

void Form1::cmdGetIpCli_Click() {
  FillOctets(s_.sources.LookupLocalAddress());
  Calcola();
}

void Form1::CmdGetIpSrv_Click() {
  FillOctets(s_.sources.PublicAddressText());
  Calcola();
}

// A text of four parts or more fills the fields unchanged. Anything shorter is a failure text
// (or empty, when the lookup has already said why): the fields keep the user's address.
void Form1::FillOctets(const Text& text) {
  const std::vector<Text> parts = SplitAtDots(text);
  if (parts.size() >= c_.txtIP.size()) {
    for (std::size_t i = 0; i < c_.txtIP.size(); ++i) {
      c_.txtIP[i]->SetText(parts[i]);
    }
  } else if (!text.empty()) {
    s_.dialogs.MsgBox(text.substr(0, kShownFailureChars), MessageIcon::Exclamation, AppTitle());
  }
}

}  // namespace maskora
