#include "app/shell/ui/InterfaceFont.h"

#include <wx/fontenum.h>

wxString ChooseInterfaceFace() {
  // Monospaced Japanese gothic faces first (the wanted face is one), then proportional ones.
  static const char* const kCandidates[] = {
      kInterfaceFontFace, "MS Gothic",         "IPAGothic",   "IPAexGothic",
      "TakaoGothic",      "Noto Sans Mono CJK JP", "VL Gothic", "Noto Sans CJK JP",
      "IPAPGothic",       "Source Han Sans JP",
  };
  for (const char* face : kCandidates) {
    const wxString name = wxString::FromUTF8(face);
    if (wxFontEnumerator::IsValidFacename(name)) return name;
  }
  return wxString();
}

wxFont MakeInterfaceFont() {
  wxFontInfo info(wxSize(0, kInterfaceFontHeight));
  info.Family(wxFONTFAMILY_SWISS).Weight(wxFONTWEIGHT_NORMAL);
  const wxString face = ChooseInterfaceFace();
  if (!face.empty()) info.FaceName(face);
  return wxFont(info);
}
