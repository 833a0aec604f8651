#pragma once

#include <wx/textctrl.h>

#include <string>

#include "app/document/ui/DocPanes.h"

// The text tab until its own view arrives: a multi-line rich edit field that wraps lines,
// keeps the selection visible without focus and hands the scrap's text to and from the
// document as UTF-8.
class CTextPaneCtrl : public wxTextCtrl, public ITextPane {
 public:
  explicit CTextPaneCtrl(wxWindow* parent);
  void SetText(const std::string& utf8) override;
  std::string GetText() const override;
};
