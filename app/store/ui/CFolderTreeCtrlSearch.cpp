#include <wx/app.h>

#include "app/res/ui/MessageBoxes.h"
#include "app/store/ui/CFolderTreeCtrl.h"

namespace {

// A scrap whose file holds the text but that no text tab can show is passed over.
class NoTextTab : public store::ScrapTextFinder {
 public:
  long FindInOpenScrap(const std::string&, bool, bool, bool) override { return -1; }
};

}  // namespace

bool CFolderTreeCtrl::SearchText(const std::string& text, bool matchCase, bool down) {
  if (text.empty()) return false;
  m_search = {text, matchCase, down};
  NoTextTab none;
  const store::FullTextOutcome outcome =
      store::SearchScrapbook(m_model, m_search, m_textFinder ? *m_textFinder : none);
  if (outcome == store::FullTextOutcome::kFound) return true;
  const wxString message =
      wxString::Format(wxString::FromUTF8("'%s' が見つかりません。"), wxString::FromUTF8(text));
  if (showMessage) {
    showMessage(message);
  } else {
    res::ui::MessageBox(message, wxTheApp ? wxTheApp->GetAppDisplayName() : wxString(), wxOK,
                        wxGetTopLevelParent(this));
  }
  return false;
}
