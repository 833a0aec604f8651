#include "app/res/ui/MessageBoxes.h"

#include <wx/msgdlg.h>

namespace res::ui {

namespace {

// Zero-width space, U+200B: a line break opportunity that takes no room.
constexpr const char* kBreak = "\xE2\x80\x8B";

// Characters the line breaker may break before or after on its own: blanks and the wide
// scripts (kana, ideographs, full-width forms), which break between any two characters.
bool OffersBreak(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == 0x200B || c == 0x3000 ||
         (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// Length of the UTF-8 sequence starting with byte b (1 for stray bytes).
std::size_t SequenceLength(unsigned char b) {
  if (b >= 0xF0 && b <= 0xF4) return 4;
  if (b >= 0xE0) return 3;
  if (b >= 0xC2 && b < 0xE0) return 2;
  return 1;
}

}  // namespace

std::string BreakLongRuns(const std::string& utf8, std::size_t run) {
  if (run == 0) return utf8;
  std::string out;
  out.reserve(utf8.size() + utf8.size() / run * 3);
  std::size_t inRun = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t n = SequenceLength(lead);
    if (i + n > utf8.size()) n = 1;
    char32_t c = lead;
    if (n == 2) c = (lead & 0x1F);
    if (n == 3) c = (lead & 0x0F);
    if (n == 4) c = (lead & 0x07);
    for (std::size_t k = 1; k < n; ++k) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    if (OffersBreak(c)) {
      inRun = 0;
    } else if (inRun == run) {
      out += kBreak;
      inRun = 1;
    } else {
      ++inRun;
    }
    out.append(utf8, i, n);
    i += n;
  }
  return out;
}

void SetJapaneseButtons(wxMessageDialog& dialog) {
  const wxString yes = wxString::FromUTF8("はい");
  const wxString no = wxString::FromUTF8("いいえ");
  const wxString cancel = wxString::FromUTF8("キャンセル");
  dialog.SetYesNoCancelLabels(yes, no, cancel);
  dialog.SetOKCancelLabels("OK", cancel);
}

int MessageBox(const wxString& text, const wxString& caption, long style, wxWindow* parent) {
  // The same defaults as wxMessageBox: centred, OK when no buttons are named.
  if (!(style & (wxOK | wxYES_NO | wxCANCEL))) style |= wxOK;
  wxMessageDialog dialog(parent, wxString::FromUTF8(BreakLongRuns(text.utf8_string())), caption,
                         style | wxCENTRE);
  SetJapaneseButtons(dialog);
  switch (dialog.ShowModal()) {
    case wxID_YES: return wxYES;
    case wxID_NO: return wxNO;
    case wxID_OK: return wxOK;
    default: return wxCANCEL;
  }
}

}  // namespace res::ui
