#pragma once

#include <wx/window.h>

#include <array>
#include <functional>
#include <string>

#include "app/document/ui/CDocView.h"
#include "app/store/ui/CFolderTreeCtrl.h"

// The left pane of the main window: three skinned buttons (new folder, delete, rename) on a
// gray band, and the folder tree below them in a white, framed area. The pane forwards the
// buttons to the tree and tells the document when the tree's caret item changes.
class CLeftView : public wxWindow, public CDocView {
 public:
  // What the pane needs from the rest of the program, wired by the main frame.
  struct Hooks {
    // The document's update of all views (the tree's caret item changed).
    std::function<void(CDocView* sender, const DocUpdate& update)> updateAllViews;
    // Clears the document's modified flag before a delete.
    std::function<void()> clearModified;
    // The expand-all state in the settings (read when the hooks are set, written at the end).
    std::function<int()> readExpandAll;
    std::function<void(int)> writeExpandAll;
    // A folder or scrap was renamed or moved on disk (old path, new path).
    std::function<void(const std::string&, const std::string&)> folderMoved;
  };
  // Layout of one of the three buttons, in client pixels (DIPs).
  struct ButtonSpec {
    int id;
    wxRect rect;
    const char* tooltip;
    std::array<int, 6> skins;  // normal, pressed, hover, disabled, focus, mask (0: none)
  };
  // Makes one button; the default makes a plain bitmap button from the skins. The main frame
  // may install one that makes the program's skinned buttons.
  using ButtonFactory = std::function<wxWindow*(wxWindow* parent, const ButtonSpec& layout)>;
  static void SetButtonFactory(ButtonFactory factory);
  static const std::array<ButtonSpec, 3>& Buttons();

  explicit CLeftView(wxWindow* parent);
  // Writes the expand-all state back.
  ~CLeftView() override;

  void SetHooks(Hooks hooks);
  // Start-up: sets the home folder and the picture list, fills the tree and selects
  // selectPath (a scrap just imported; empty for none), then expands or collapses all as the
  // settings say.
  void Start(const std::string& homeFolder, wxImageList* images, const std::string& selectPath);

  CFolderTreeCtrl* Tree() const { return m_tree; }
  wxWindow* Button(int id) const;

  void OnUpdate(CDocView* sender, const DocUpdate& update) override;

  // Client area the pane paints itself (the band's height below the buttons).
  static constexpr int kBandBottom = 35;

 private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnButton(wxCommandEvent& event);
  void OnCaretChanged(const store::TreeItem& item);

  CFolderTreeCtrl* m_tree = nullptr;
  std::array<wxWindow*, 3> m_buttons{};
  Hooks m_hooks;
};
