// SPDX-License-Identifier: MIT
// Writes what the end-to-end scripts need of the window's description as JSON: the window's
// caption, and each control's kind, shown caption, access key and accessible name, keyed by its
// name and array index as in "txtIP(0)".
#include <cstdio>
#include <string>

#include "core/json.h"
#include "core/utf8.h"
#include "window/form1_description.h"

namespace {

std::string Json(std::u16string_view text) {
  return maskora::JsonString(maskora::TextToUtf8(text));
}

const char* KindName(maskora::ControlKind kind) {
  using maskora::ControlKind;
  switch (kind) {
    case ControlKind::Label:
      return "label";
    case ControlKind::AddressFrame:
      return "frame";
    case ControlKind::Dot:
      return "dot";
    case ControlKind::OctetField:
      return "octet";
    case ControlKind::ResultField:
      return "result";
    case ControlKind::Button:
      return "button";
    case ControlKind::MaskList:
      return "list";
  }
  return "";
}

}  // namespace

int main() {
  using namespace maskora;
  // Appended piece by piece: g++ 12 at -O3 warns falsely (-Wrestrict) on longer sums of strings.
  std::string out = "{\"caption\": ";
  out += Json(kForm1.caption);
  out += ", \"controls\": {";
  for (const ControlDescription& c : kForm1Controls) {
    out += c.id == ControlId{} ? "\n  \"" : ",\n  \"";
    out += c.name;
    if (c.index >= 0) {
      out += '(';
      out += std::to_string(c.index);
      out += ')';
    }
    out += "\": {\"kind\": \"";
    out += KindName(c.kind);
    out += "\", \"caption\": ";
    out += Json(ShownCaption(c.caption));
    out += ", \"key\": ";
    const char16_t key = AccessKey(c.caption);
    out += Json(key != 0 ? std::u16string(1, key) : std::u16string());
    out += ", \"name\": ";
    out += Json(c.accessibleName);
    out += "}";
  }
  out += "\n}}\n";
  std::fputs(out.c_str(), stdout);
  return 0;
}
