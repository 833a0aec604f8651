#pragma once

#include <wx/font.h>
#include <wx/string.h>

// The face the interface font asks for first: the program was drawn for it.
inline constexpr const char* kInterfaceFontFace = "ＭＳ ゴシック";
inline constexpr int kInterfaceFontHeight = 18;

// The face to use for the interface font: "ＭＳ ゴシック" when installed, otherwise the nearest
// installed Japanese gothic face, otherwise the system's default face (empty string).
wxString ChooseInterfaceFace();

// The font of the search box and the zoom box: 18 pixels high, normal weight, swiss family.
wxFont MakeInterfaceFont();
