#include "app/store/ui/CLeftView.h"

#include <wx/bmpbuttn.h>
#include <wx/dcbuffer.h>

#include "app/res/Resource.h"
#include "app/res/ui/ResArt.h"

namespace {

CLeftView::ButtonFactory& Factory() {
  static CLeftView::ButtonFactory factory;
  return factory;
}

wxWindow* MakePlainButton(wxWindow* parent, const CLeftView::ButtonSpec& layout) {
  const wxRect r(parent->FromDIP(layout.rect.GetPosition()), parent->FromDIP(layout.rect.GetSize()));
  auto* button = new wxBitmapButton(parent, layout.id, res::ui::ResourceBundle(layout.skins[0]),
                                    r.GetPosition(), r.GetSize(), wxBORDER_NONE);
  if (layout.skins[1]) button->SetBitmapPressed(res::ui::ResourceBundle(layout.skins[1]));
  if (layout.skins[2]) button->SetBitmapCurrent(res::ui::ResourceBundle(layout.skins[2]));
  if (layout.skins[3]) button->SetBitmapDisabled(res::ui::ResourceBundle(layout.skins[3]));
  button->SetToolTip(wxString::FromUTF8(layout.tooltip));
  return button;
}

}  // namespace

const std::array<CLeftView::ButtonSpec, 3>& CLeftView::Buttons() {
  // Rectangles are left, top, width, height of the buttons' places in the band.
  static const std::array<ButtonSpec, 3> kButtons = {{
      {res::kIdNewFolder, wxRect(3, 3, 89, 29), "新しいフォルダ",
       {res::kSkinNewFolderNormal, res::kSkinNewFolderPressed, res::kSkinNewFolderHover,
        res::kSkinNewFolderHover, 0, res::kSkinNewFolderMask}},
      {res::kIdDeleteItem, wxRect(97, 3, 67, 29), "削除",
       {res::kSkinDeleteNormal, res::kSkinDeletePressed, res::kSkinDeleteHover,
        res::kSkinDeleteDisabled, 0, res::kSkinDeleteMask}},
      {res::kIdRenameItem, wxRect(169, 3, 78, 29), "名前変更",
       {res::kSkinRenameNormal, res::kSkinRenamePressed, res::kSkinRenameHover,
        res::kSkinRenameDisabled, 0, res::kSkinRenameMask}},
  }};
  return kButtons;
}

void CLeftView::SetButtonFactory(ButtonFactory factory) { Factory() = std::move(factory); }

CLeftView::CLeftView(wxWindow* parent)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
               wxFULL_REPAINT_ON_RESIZE | wxCLIP_CHILDREN) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  for (std::size_t i = 0; i < Buttons().size(); ++i) {
    const ButtonSpec& layout = Buttons()[i];
    m_buttons[i] = Factory() ? Factory()(this, layout) : MakePlainButton(this, layout);
  }
  m_tree = new CFolderTreeCtrl(this, res::kIdFolderTree, FromDIP(wxPoint(3, 34)),
                               FromDIP(wxSize(237, 66)));
  m_tree->SetCaretHook([this](const store::TreeItem& item) { OnCaretChanged(item); });
  Bind(wxEVT_PAINT, &CLeftView::OnPaint, this);
  Bind(wxEVT_SIZE, &CLeftView::OnSize, this);
  Bind(wxEVT_BUTTON, &CLeftView::OnButton, this);
  // The pane has nothing of its own to type into: the focus it gets from F6, Tab or the start
  // goes on to the tree, where the arrow keys move between scraps.
  Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent&) { m_tree->SetFocus(); });
}

CLeftView::~CLeftView() {
  if (m_hooks.writeExpandAll) m_hooks.writeExpandAll(m_tree->GetExpandAllState());
}

void CLeftView::SetHooks(Hooks hooks) {
  m_hooks = std::move(hooks);
  if (m_hooks.readExpandAll) m_tree->SetExpandAllState(m_hooks.readExpandAll());
  m_tree->SetBeforeDeleteHook(m_hooks.clearModified);
  m_tree->SetFolderMovedHook(m_hooks.folderMoved);
}

void CLeftView::Start(const std::string& homeFolder, wxImageList* images,
                      const std::string& selectPath) {
  m_tree->SetHomeFolder(homeFolder);
  if (images) m_tree->SetImageList(images);
  m_tree->RefreshTree(selectPath);
  if (m_tree->GetExpandAllState() == 1) {
    m_tree->ExpandAllFolders();
  } else {
    m_tree->CollapseAllFolders();
  }
}

wxWindow* CLeftView::Button(int id) const {
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    if (Buttons()[i].id == id) return m_buttons[i];
  }
  return nullptr;
}

void CLeftView::OnUpdate(CDocView*, const DocUpdate&) {}

void CLeftView::OnCaretChanged(const store::TreeItem& item) {
  const bool notHome = !m_tree->Model().IsHomePath(item.Path());
  for (int id : {res::kIdDeleteItem, res::kIdRenameItem}) {
    if (wxWindow* button = Button(id)) button->Enable(notHome);
  }
  if (m_hooks.updateAllViews) {
    m_hooks.updateAllViews(this, DocUpdate::CaretMoved(*m_tree));
  }
}

void CLeftView::OnButton(wxCommandEvent& event) {
  const int id = event.GetId();
  if (id == res::kIdNewFolder || id == res::kIdDeleteItem || id == res::kIdRenameItem) {
    m_tree->RunCommand(id);
  } else {
    event.Skip();
  }
}

void CLeftView::OnSize(wxSizeEvent& event) {
  const wxSize client = GetClientSize();
  const wxPoint origin = FromDIP(wxPoint(5, 40));
  m_tree->SetSize(origin.x, origin.y, std::max(client.x - FromDIP(10), 0),
                  std::max(client.y - origin.y, 0));
  Refresh(false);
  event.Skip();
}

void CLeftView::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  const wxSize client = GetClientSize();
  dc.SetPen(wxPen(wxColour(164, 164, 164)));
  dc.SetBrush(*wxWHITE_BRUSH);
  dc.DrawRectangle(0, 0, client.x, client.y);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(wxColour(128, 128, 128)));
  dc.DrawRectangle(0, 0, client.x, FromDIP(kBandBottom));
}
