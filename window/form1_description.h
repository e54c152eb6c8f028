// SPDX-License-Identifier: MIT
// The main window, described once: every control with its kind, name, place, caption and
// properties, in tab order. Both toolkit bindings build their controls from this table, and the
// tests read places and captions from it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "window/control_id.h"

namespace maskora {

enum class ControlKind {
  Label,         // a caption; its access key focuses the next control that takes the focus
  AddressFrame,  // the rectangle that makes the octet fields look like one field
  Dot,           // a "." between two octet fields
  OctetField,    // a text field of the address
  ResultField,   // a read-only text field that shows a result
  Button,
  MaskList,  // a drop-down list the user picks from and cannot type into
};

// Properties that shape how a control looks and behaves.
enum ControlFlag : std::uint32_t {
  kTabStop = 1u << 0,       // takes the focus by Tab
  kBorder = 1u << 1,        // draws a frame of its own
  kCentred = 1u << 2,       // centres its text
  kReadOnly = 1u << 3,      // its text can be selected and copied but not changed
  kWindowColour = 1u << 4,  // the window-background colour
  kButtonColour = 1u << 5,  // the button-face colour
  kDisabled = 1u << 6,      // disabled at start
  kBeneath = 1u << 7,       // lies beneath the controls it overlaps
  kAbove = 1u << 8,         // lies above the controls it overlaps
};

// Position and size in twips from the top-left corner of the client area.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct ControlDescription {
  ControlId id;
  ControlKind kind;
  std::string_view name;  // shared by the elements of a control array
  int index;              // element of a control array, -1 for a single control
  TwipsRect place;
  std::u16string_view caption;  // caption or initial text; "&" marks the access key
  std::uint32_t flags;
  int maxLength = 0;  // characters the user may type, 0 for no limit
  std::u16string_view toolTip = {};
  std::u16string_view tag = {};  // a text the program keeps with the control
  // What a screen reader announces: the name a sighted user reads next to the control.
  std::u16string_view accessibleName = {};
  std::u16string_view accessibleDescription = {};
};

inline constexpr std::uint32_t kOctetFlags = kTabStop | kCentred | kWindowColour | kAbove;
inline constexpr std::uint32_t kDotFlags = kCentred | kWindowColour | kAbove;
inline constexpr std::uint32_t kResultFlags = kTabStop | kBorder | kReadOnly | kButtonColour;

inline constexpr std::array<ControlDescription, kControlCount> kForm1Controls = {{
    {ControlId::lblDesc0,
     ControlKind::Label,
     "lblDesc",
     0,
     {60, 120, 915, 255},
     u"&Indirizzo IP:",
     0},
    {ControlId::Label1,
     ControlKind::AddressFrame,
     "Label1",
     -1,
     {1140, 60, 1365, 315},
     u"",
     kBorder | kWindowColour | kBeneath},
    {ControlId::txtIP0,
     ControlKind::OctetField,
     "txtIP",
     0,
     {1170, 90, 315, 255},
     u"0",
     kOctetFlags,
     3,
     {},
     {},
     u"Indirizzo IP, parte 1",
     u"Primo ottetto dell'indirizzo IP, da 0 a 255"},
    {ControlId::lblDot0, ControlKind::Dot, "lblDot", 0, {1470, 90, 75, 255}, u".", kDotFlags},
    {ControlId::txtIP1,
     ControlKind::OctetField,
     "txtIP",
     1,
     {1500, 90, 315, 255},
     u"0",
     kOctetFlags,
     3,
     {},
     {},
     u"Indirizzo IP, parte 2",
     u"Secondo ottetto dell'indirizzo IP, da 0 a 255"},
    {ControlId::lblDot1, ControlKind::Dot, "lblDot", 1, {1800, 90, 75, 255}, u".", kDotFlags},
    {ControlId::txtIP2,
     ControlKind::OctetField,
     "txtIP",
     2,
     {1830, 90, 315, 255},
     u"0",
     kOctetFlags,
     3,
     {},
     {},
     u"Indirizzo IP, parte 3",
     u"Terzo ottetto dell'indirizzo IP, da 0 a 255"},
    {ControlId::lblDot2, ControlKind::Dot, "lblDot", 2, {2130, 90, 75, 255}, u".", kDotFlags},
    {ControlId::txtIP3,
     ControlKind::OctetField,
     "txtIP",
     3,
     {2160, 90, 315, 255},
     u"0",
     kOctetFlags,
     3,
     {},
     {},
     u"Indirizzo IP, parte 4",
     u"Quarto ottetto dell'indirizzo IP, da 0 a 255"},
    {ControlId::cmdGetIpCli,
     ControlKind::Button,
     "cmdGetIpCli",
     -1,
     {2520, 60, 615, 315},
     u"&CLI",
     kTabStop,
     0,
     u"Imposta l'indirizzo IP privato di questo PC.",
     {},
     u"CLI",
     u"Imposta l'indirizzo IP privato di questo PC."},
    {ControlId::CmdGetIpSrv,
     ControlKind::Button,
     "CmdGetIpSrv",
     -1,
     {3180, 60, 615, 315},
     u"&SRV",
     kTabStop,
     0,
     u"Imposta l'indirizzo IP pubblico accedendo ad internet.",
     {},
     u"SRV",
     u"Imposta l'indirizzo IP pubblico accedendo ad internet."},
    {ControlId::lblDesc1,
     ControlKind::Label,
     "lblDesc",
     1,
     {60, 480, 1035, 255},
     u"Subnet &Mask: ",
     0},
    {ControlId::cmbMask,
     ControlKind::MaskList,
     "cmbMask",
     -1,
     {1140, 420, 1995, 315},
     u"",
     kTabStop,
     0,
     {},
     {},
     u"Subnet Mask",
     u"Maschera di sottorete: da /32 a /0"},
    {ControlId::cmdCalc,
     ControlKind::Button,
     "cmdCalc",
     -1,
     {3180, 420, 615, 315},
     u"I&nfo",
     kTabStop,
     0,
     {},
     {},
     u"Info",
     u"Informazioni su Maskora"},
    {ControlId::lblDesc5, ControlKind::Label, "lblDesc", 5, {120, 960, 1035, 255}, u"Stato IP:", 0},
    {ControlId::txtStato,
     ControlKind::ResultField,
     "txtStato",
     -1,
     {1200, 960, 2595, 285},
     u"",
     kResultFlags,
     0,
     {},
     {},
     u"Stato IP",
     u"Se l'indirizzo IP può essere usato da un host"},
    {ControlId::lblDesc7,
     ControlKind::Label,
     "lblDesc",
     7,
     {120, 1260, 1035, 255},
     u"Tipo indirizzo:",
     0},
    {ControlId::txtTipo,
     ControlKind::ResultField,
     "txtTipo",
     -1,
     {1200, 1260, 2595, 285},
     u"",
     kResultFlags,
     0,
     {},
     {},
     u"Tipo indirizzo",
     u"Tipo dell'indirizzo IP"},
    {ControlId::lblDesc6,
     ControlKind::Label,
     "lblDesc",
     6,
     {120, 1560, 1035, 255},
     u"Classe rete:",
     0},
    {ControlId::txtClasse,
     ControlKind::ResultField,
     "txtClasse",
     -1,
     {1200, 1560, 2055, 285},
     u"",
     kResultFlags,
     0,
     {},
     {},
     u"Classe rete",
     u"Classe della rete e la sua maschera predefinita"},
    {ControlId::cmdSet,
     ControlKind::Button,
     "cmdSet",
     -1,
     {3360, 1500, 435, 375},
     u"S&et",
     kTabStop | kDisabled,
     0,
     {},
     u"0",
     u"Set",
     u"Imposta la maschera predefinita della classe"},
    {ControlId::lblDesc2,
     ControlKind::Label,
     "lblDesc",
     2,
     {120, 1860, 1035, 255},
     u"Broadcast:",
     0},
    {ControlId::txtBroadcast,
     ControlKind::ResultField,
     "txtBroadcast",
     -1,
     {1200, 1860, 2595, 285},
     u"",
     kResultFlags,
     0,
     {},
     {},
     u"Broadcast",
     u"Indirizzo di broadcast della rete"},
    {ControlId::lblDesc3, ControlKind::Label, "lblDesc", 3, {120, 2160, 1035, 255}, u"Hosts:", 0},
    {ControlId::txtHosts,
     ControlKind::ResultField,
     "txtHosts",
     -1,
     {1200, 2160, 2595, 285},
     u"",
     kResultFlags,
     0,
     {},
     {},
     u"Hosts",
     u"Numero di host utilizzabili"},
    {ControlId::lblDesc4, ControlKind::Label, "lblDesc", 4, {120, 2460, 1035, 255}, u"Network:", 0},
    {ControlId::txtNetwork,
     ControlKind::ResultField,
     "txtNetwork",
     -1,
     {1200, 2460, 2595, 285},
     u"",
     kResultFlags,
     0,
     {},
     {},
     u"Network",
     u"Indirizzo della rete"},
}};

// The window itself: its caption and the size of its client area, in twips.
struct FormDescription {
  std::u16string_view caption;
  std::u16string_view appTitle;  // the title of message boxes that give none
  int clientWidth;
  int clientHeight;
};

inline constexpr FormDescription kForm1 = {u"Maskora 1.0 - Mervik", u"Maskora", 3855, 2850};

inline constexpr int kTwipsPerInch = 1440;

constexpr const ControlDescription& Describe(ControlId id) {
  return kForm1Controls[static_cast<std::size_t>(id)];
}

// The control of that name and array index (-1 for a single control).
std::optional<ControlId> FindControl(std::string_view name, int index = -1);

// Twips as pixels at the given dots per inch, to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi) {
  return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

// The caption as shown: without the "&" that marks the access key ("&&" shows one "&").
std::u16string ShownCaption(std::u16string_view caption);

// The access key of a caption, lower case; 0 for none.
char16_t AccessKey(std::u16string_view caption);

}  // namespace maskora
