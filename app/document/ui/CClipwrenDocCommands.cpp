#include <filesystem>

#include "app/document/ScrapText.h"
#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/ZoomMath.h"
#include "app/res/Resource.h"

// The document's command handlers: save, the zoom and tool commands of the active picture
// tab, shape undo/redo/delete, crop steps and the page's address.
namespace {

bool IsPictureTab(int tab) { return tab == kTabPage || tab == kTabCopy; }

// The tool commands: the tool each one toggles, and whether the view takes the keyboard
// focus after it (shape selection, text boxes and the range tool answer keys there).
struct ToolCommand {
  int id;
  int tool;
  bool focusView;
};
constexpr ToolCommand kToolCommands[] = {
    {res::kIdShapeSelect, kToolShapeSelect, true},
    {res::kIdPen, kToolPen, false},
    {res::kIdArrow, kToolArrow, false},
    {res::kIdTextBox, kToolTextBox, true},
    {res::kIdRangeSelect, kToolRangeSelect, true},
};

const ToolCommand* FindToolCommand(int id) {
  for (const ToolCommand& c : kToolCommands) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

}  // namespace

void CClipwrenDoc::BindCommands() {
  Bind(wxEVT_MENU, &CClipwrenDoc::OnSave, this, res::kIdFileSave);
  Bind(wxEVT_UPDATE_UI, &CClipwrenDoc::OnUpdateSave, this, res::kIdFileSave);
  for (int id : {res::kIdZoomIn, res::kIdZoomOut, res::kIdZoomFit, res::kIdZoomActual}) {
    Bind(wxEVT_MENU, &CClipwrenDoc::OnZoom, this, id);
    Bind(wxEVT_UPDATE_UI, &CClipwrenDoc::OnUpdateZoom, this, id);
  }
  for (const ToolCommand& c : kToolCommands) {
    Bind(wxEVT_MENU, &CClipwrenDoc::OnTool, this, c.id);
    Bind(wxEVT_UPDATE_UI, &CClipwrenDoc::OnUpdateTool, this, c.id);
  }
  Bind(wxEVT_MENU, &CClipwrenDoc::OnPen, this, res::kIdPenFirst, res::kIdPenLast);
  Bind(wxEVT_UPDATE_UI, &CClipwrenDoc::OnUpdatePen, this, res::kIdPenFirst, res::kIdPenLast);
  for (int id : {res::kIdShapeUndo, res::kIdShapeRedo, res::kIdShapeDelete}) {
    Bind(wxEVT_UPDATE_UI, &CClipwrenDoc::OnUpdateShapeUndoRedo, this, id);
  }
  Bind(wxEVT_MENU, &CClipwrenDoc::OnShapeUndoRedo, this, res::kIdShapeUndo);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnShapeUndoRedo, this, res::kIdShapeRedo);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnShapeDelete, this, res::kIdShapeDelete);
  // Crop mode: on from tool mode, off again from crop mode; the check mark shows it on.
  Bind(
      wxEVT_MENU,
      [this](wxCommandEvent&) {
        CSBImage* image = CurrentImage();
        if (!image || !image->IsLoaded() || !IsPictureTab(m_activeTab)) return;
        (void)image->ToggleCrop();
        if (IPageView* view = CurrentPageView()) view->RepaintView();
      },
      res::kIdCrop);
  Bind(
      wxEVT_UPDATE_UI,
      [this](wxUpdateUIEvent& event) {
        const CSBImage* image = CurrentImage();
        const bool loaded = IsPictureTab(m_activeTab) && image && image->IsLoaded();
        event.Enable(loaded);
        if (event.IsCheckable()) event.Check(loaded && image->EditFlag() == 0);
      },
      res::kIdCrop);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnCropStep, this, res::kIdUndo);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnCropStep, this, res::kIdRedo);
  for (int id : {res::kIdCreateCopyTab, res::kIdDeleteCopyTab}) {
    Bind(wxEVT_MENU, &CClipwrenDoc::OnCopyTab, this, id);
    Bind(wxEVT_UPDATE_UI, &CClipwrenDoc::OnUpdateCopyTab, this, id);
  }
  // "検索" opens the text tab's find dialog, when the scrap has a text to search.
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) {
        if (m_textPane) m_textPane->OpenFindDialog();
      },
      res::kIdFind);
  Bind(
      wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(m_textPresent && m_textPane); },
      res::kIdFind);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnOpenAddress, this, res::kIdOpenPageAddress);
  Bind(wxEVT_UPDATE_UI, &CClipwrenDoc::OnUpdateOpenAddress, this, res::kIdOpenPageAddress);
  BindPrintCommands();
}

void CClipwrenDoc::OnSave(wxCommandEvent&) { (void)Save(); }

void CClipwrenDoc::OnUpdateSave(wxUpdateUIEvent& event) {
  const CSBImage* image = CurrentImage();
  event.Enable(image && image->IsLoaded());
}

void CClipwrenDoc::OnZoom(wxCommandEvent& event) {
  CSBImage* image = CurrentImage();
  IPageView* view = CurrentPageView();
  if (!image || !view || !image->IsLoaded()) return;
  CViewState& state = view->State();
  const int version = image->VersionIndex();
  int z = image->Zoom();
  switch (event.GetId()) {
    case res::kIdZoomIn: z = state.ZoomIn(version); break;
    case res::kIdZoomOut: z = state.ZoomOut(version); break;
    case res::kIdZoomActual: z = state.SetZoom(version, 100); break;
    case res::kIdZoomFit: z = view->FitToWindow(version); break;
    default: return;
  }
  image->SetZoom(z);
  ShowZoom(z);
  view->ApplyZoom();
}

void CClipwrenDoc::OnUpdateZoom(wxUpdateUIEvent& event) {
  const CSBImage* image = CurrentImage();
  bool enable = IsPictureTab(m_activeTab) && image && image->IsLoaded();
  if (enable && event.GetId() == res::kIdZoomIn) enable = image->Zoom() < zoom::kMaxZoom;
  if (enable && event.GetId() == res::kIdZoomOut) enable = image->Zoom() > zoom::kMinZoom;
  event.Enable(enable);
}

void CClipwrenDoc::OnTool(wxCommandEvent& event) {
  CSBImage* image = CurrentImage();
  const ToolCommand* command = FindToolCommand(event.GetId());
  if (!image || !command || !IsPictureTab(m_activeTab)) return;
  (void)image->ToggleTool(command->tool);
  IPageView* view = CurrentPageView();
  if (!view) return;
  // Leaving a tool also drops the selection frames it showed.
  view->RepaintView();
  if (command->focusView) view->FocusView();
}

void CClipwrenDoc::OnUpdateTool(wxUpdateUIEvent& event) {
  const CSBImage* image = CurrentImage();
  const ToolCommand* command = FindToolCommand(event.GetId());
  const bool loaded = IsPictureTab(m_activeTab) && image && image->IsLoaded();
  event.Enable(loaded && command);
  if (command && event.IsCheckable()) event.Check(loaded && image->Tool() == command->tool);
}

void CClipwrenDoc::OnPen(wxCommandEvent& event) {
  CSBImage* image = CurrentImage();
  if (!image || !IsPictureTab(m_activeTab)) return;
  if (image->Tool() != kToolPen) (void)image->ToggleTool(kToolPen);
  m_penIndex = event.GetId() - res::kIdPenFirst;
  if (m_frame) m_frame->OnPenChanged(m_penIndex);
  if (IPageView* view = CurrentPageView()) view->RepaintView();
}

void CClipwrenDoc::OnUpdatePen(wxUpdateUIEvent& event) {
  const CSBImage* image = CurrentImage();
  event.Enable(IsPictureTab(m_activeTab) && image);
  if (event.IsCheckable()) {
    event.Check(image && image->Tool() == kToolPen &&
                m_penIndex == event.GetId() - res::kIdPenFirst);
  }
}

void CClipwrenDoc::OnShapeUndoRedo(wxCommandEvent& event) {
  CSBImage* image = CurrentImage();
  if (!image || !IsPictureTab(m_activeTab)) return;
  const bool done = event.GetId() == res::kIdShapeUndo ? image->Undo() : image->Redo();
  if (done) m_modified = true;
  // Undoing a crop shows another version, at its own zoom.
  if (done) ShowZoom(image->Zoom());
}

void CClipwrenDoc::OnUpdateShapeUndoRedo(wxUpdateUIEvent& event) {
  const CSBImage* image = CurrentImage();
  bool enable = IsPictureTab(m_activeTab) && image;
  if (enable) {
    switch (event.GetId()) {
      case res::kIdShapeUndo: enable = image->CanUndo(); break;
      case res::kIdShapeRedo: enable = image->CanRedo(); break;
      case res::kIdShapeDelete: enable = image->Tool() == kToolShapeSelect; break;
      default: break;
    }
  }
  event.Enable(enable);
}

void CClipwrenDoc::OnShapeDelete(wxCommandEvent&) {
  CSBImage* image = CurrentImage();
  if (image && IsPictureTab(m_activeTab) && image->DeleteSelected() > 0) m_modified = true;
}

void CClipwrenDoc::OnCropStep(wxCommandEvent& event) {
  CSBImage* image = CurrentImage();
  if (!image || !image->IsLoaded()) return;
  image->StepVersion(event.GetId() == res::kIdUndo ? -1 : +1);
  ShowZoom(image->Zoom());
}

void CClipwrenDoc::OnOpenAddress(wxCommandEvent&) {
  const std::string address = scrapfiles::ExtractPageAddress(m_text);
  if (!address.empty()) {
    if (openAddress) openAddress(address);
  } else if (showMessage) {
    showMessage(wxString::FromUTF8("URL情報がありません。"));
  }
}

void CClipwrenDoc::OnUpdateOpenAddress(wxUpdateUIEvent& event) { event.Enable(m_textPresent); }

void CClipwrenDoc::CreateCopyTab() {
  if (!m_pageImage || !m_copyImage) return;
  std::error_code ec;
  std::filesystem::copy_file(m_pageImage->Path(), m_copyImage->Path(),
                             std::filesystem::copy_options::skip_existing, ec);
  (void)m_copyImage->Load();
  m_copyImage->Clear();
  m_copyPresent = true;
  UpdateAllViews(nullptr, DocUpdate::TabsChanged(kTabCopy));
}

void CClipwrenDoc::DeleteCopyTab() {
  if (!m_copyImage) return;
  std::error_code ec;
  std::filesystem::remove(m_copyImage->Path(), ec);
  m_copyPresent = false;
  // The tab forgets its picture and marks, so no later save can write the file back.
  std::string path = m_copyImage->Path();
  m_copyImage = std::make_unique<CSBImage>(m_copyView);
  m_copyImage->SetPath(std::move(path));
  if (m_copyView) m_copyView->ResetView();
  SetCurrentPictureTab(kTabPage);
  UpdateAllViews(nullptr, DocUpdate::TabsChanged(kTabPage));
}

void CClipwrenDoc::OnCopyTab(wxCommandEvent& event) {
  if (event.GetId() == res::kIdCreateCopyTab) {
    CreateCopyTab();
  } else {
    DeleteCopyTab();
  }
}

void CClipwrenDoc::OnUpdateCopyTab(wxUpdateUIEvent& event) {
  const CSBImage* image = CurrentImage();
  const bool loaded = image && image->IsLoaded();
  event.Enable(loaded && (event.GetId() == res::kIdCreateCopyTab) != m_copyPresent);
}
