// SPDX-License-Identifier: MIT
// Start-up, shut-down, the About box, the mask list, the recalculation and the address buttons.
#include "window/form1.h"

#include <array>

#include "address/address.h"
#include "core/version.h"
#include "window/form1_description.h"

namespace maskora {

namespace {

// Longest failure text shown when a lookup gives no address: a web page can be large.
constexpr std::size_t kShownFailureChars = 200;

Text AboutText() {
  return u"Maskora " + Widen(kVersion) +
         u"\n\nCalcola rete, broadcast, host e classe di un indirizzo IPv4.";
}

Text AppTitle() {
  return Text(kForm1.appTitle);
}

}  // namespace

std::string MaskEntryText(int hostBits) {
  const int prefix = 32 - hostBits;
  const std::string pad = prefix < 10 ? " " : "";
  const AddressValue wildcard = UnsignedToSigned(static_cast<double>((1ULL << hostBits) - 1));
  return "(" + pad + std::to_string(prefix) + pad + ") " + AddressToDotted(~wildcard);
}

Form1::Form1(const Form1Controls& controls, const Form1Services& services)
    : c_(controls), s_(services) {}

void Form1::Load() {
  s_.runtime.SeedRandom(s_.runtime.SecondsSinceMidnight());
  RiempiMask();
  c_.cmbMask->Select(kOpeningHostBits);
  s_.wheel.HookWheel();
}

void Form1::Unload() {
  s_.wheel.UnhookWheel();
}

void Form1::Click(ControlId id) {
  switch (id) {
    case ControlId::cmbMask:
      Calcola();
      break;
    case ControlId::cmdSet:
      SelectClassMask();
      break;
    case ControlId::cmdCalc:
      ShowAbout();
      break;
    case ControlId::cmdGetIpCli:
      FillOctets(s_.sources.LookupLocalAddress(s_.dialogs));
      Calcola();
      break;
    case ControlId::CmdGetIpSrv:
      FillOctets(s_.sources.PublicAddressText(s_.dialogs));
      Calcola();
      break;
    default:
      break;
  }
}

void Form1::ShowAbout() {
  s_.dialogs.ShowMessage(AboutText(), MessageIcon::Information, AppTitle());
}

void Form1::RiempiMask() {
  c_.cmbMask->Clear();
  for (int hostBits = 0; hostBits < kMaskEntries; ++hostBits) {
    c_.cmbMask->Append(Widen(MaskEntryText(hostBits)));
  }
}

void Form1::Calcola() {
  std::array<double, 4> octets{};
  for (std::size_t i = 0; i < octets.size(); ++i) {
    octets[i] = LeadingNumber(Narrow(c_.txtIP[i]->GetText()));
  }
  const int hostBits = c_.cmbMask->SelectedIndex();
  // The list always has a selection once the window is loaded; without one there is nothing
  // to evaluate, and the fields keep their last results.
  if (hostBits < 0 || hostBits >= kMaskEntries) {
    return;
  }
  const SubnetResult r = EvaluateSubnet(octets, hostBits);
  for (std::size_t i = 0; i < kResultFields.size(); ++i) {
    c_.results[i]->SetText(Widen(r.*kResultFields[i].text));
  }
  if (r.ClassHostBits) {
    c_.cmdSet->SetTag(Widen(std::to_string(*r.ClassHostBits)));
    c_.cmdSet->SetEnabled(true);
  } else {
    c_.cmdSet->SetEnabled(false);
  }
}

void Form1::SelectClassMask() {
  const double index = LeadingNumber(Narrow(c_.cmdSet->Tag()));
  if (index >= 0 && index < kMaskEntries) {
    c_.cmbMask->Select(static_cast<int>(index));  // its change recalculates
  }
}

void Form1::EnterAddress(const AddressEntry& entry) {
  for (std::size_t i = 0; i < c_.txtIP.size(); ++i) {
    c_.txtIP[i]->SetText(Widen(std::to_string(entry.octets[i])));
  }
  if (entry.hostBits && *entry.hostBits != c_.cmbMask->SelectedIndex()) {
    c_.cmbMask->Select(*entry.hostBits);  // its change recalculates
  } else {
    Calcola();
  }
}

// A text of four parts or more fills the fields unchanged. Anything shorter is a failure text
// (or empty, when the lookup has already said why): the fields keep the user's address.
void Form1::FillOctets(const Text& text) {
  const auto parts = SplitAtDots(std::u16string_view(text));
  if (parts.size() >= c_.txtIP.size()) {
    for (std::size_t i = 0; i < c_.txtIP.size(); ++i) {
      c_.txtIP[i]->SetText(Text(parts[i]));
    }
  } else if (!text.empty()) {
    s_.dialogs.ShowMessage(text.substr(0, kShownFailureChars), MessageIcon::Exclamation,
                           AppTitle());
  }
}

}  // namespace maskora
