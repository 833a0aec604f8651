#include "app/tabs/ui/CImageListCtrl.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <system_error>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/image/PictureType.h"
#include "app/image/wx/ImageBitmap.h"
#include "app/res/Resource.h"
#include "app/res/ui/MenuBuilder.h"
#include "app/res/ui/MessageBoxes.h"
#include "app/store/ui/CShellDialogs.h"
#include "app/tabs/PictureListing.h"
#include "platform/ProgramLaunch.h"
#include "platform/SpecialFolders.h"

namespace {

constexpr auto kStopWait = std::chrono::milliseconds(500);

wxString U8(const std::string& s) { return wxString::FromUTF8(s); }

constexpr const char* kNoOpenProgram =
    "画像を開くには xdg-open（xdg-utils パッケージ）が必要です。";
constexpr const char* kNothingOpens = " を開くプログラムが見つかりませんでした。";
constexpr const char* kNotDeleted = " を削除できませんでした。";
constexpr const char* kNotSent = " をデスクトップに送れませんでした。";

}  // namespace

CImageListCtrl::CImageListCtrl(wxWindow* parent, int id, long style, CClipwrenDoc* doc)
    : wxListCtrl(parent, id, wxDefaultPosition, wxDefaultSize, style | wxLC_EDIT_LABELS),
      m_doc(doc) {
  m_ownShellUi = std::make_unique<CShellDialogs>(this);
  m_shellUi = m_ownShellUi.get();
  askYesNo = [this](const wxString& text, long icon) {
    return res::ui::MessageBox(text, wxString::FromUTF8("クリップレン帳"), wxYES_NO | icon, this) ==
           wxYES;
  };
  showMessage = [this](const wxString& text) {
    res::ui::MessageBox(text, wxString::FromUTF8("クリップレン帳"), wxOK | wxICON_EXCLAMATION,
                        this);
  };
  Bind(wxEVT_CHAR_HOOK, &CImageListCtrl::OnCharHook, this);
  Bind(wxEVT_LIST_ITEM_SELECTED, &CImageListCtrl::OnItemSelected, this);
  Bind(wxEVT_LIST_ITEM_ACTIVATED, &CImageListCtrl::OnItemActivated, this);
  Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, &CImageListCtrl::OnRightClick, this);
  Bind(wxEVT_LIST_END_LABEL_EDIT, &CImageListCtrl::OnEndLabelEdit, this);
  Bind(wxEVT_MENU, &CImageListCtrl::OnMenuCommand, this, res::kIdCopyToClipboard);
  Bind(wxEVT_MENU, &CImageListCtrl::OnMenuCommand, this, res::kIdSendToDesktop);
}

CImageListCtrl::~CImageListCtrl() {
  *m_alive = false;
  StopWorker();
}

bool CImageListCtrl::ListPictures() {
  const bool showGif = !m_doc || m_doc->PictureSettings().showGif;
  std::atomic<bool> stop{false};
  const bool found = tabs::ListPictures(m_folder, showGif, stop, m_names);
  m_selected = tabs::InitialSelection(m_names.size());
  return found;
}

bool CImageListCtrl::StopWorker() {
  // From here on nothing of the running fill is shown, whatever the worker still does.
  ++m_fill;
  bool ended = true;
  if (m_link) {
    std::unique_lock lock(m_link->mutex);
    m_link->target = nullptr;
    m_link->stop = true;
    ended = m_link->ended.wait_for(lock, kStopWait, [&] { return m_link->done; });
  }
  if (m_thread.joinable()) {
    // A worker that did not end in time only finishes its current picture and posts nothing;
    // it holds its own share of the link, so it is let go rather than waited for.
    if (ended)
      m_thread.join();
    else
      m_thread.detach();
  }
  m_link.reset();
  m_running = false;
  return ended;
}

void CImageListCtrl::StartWorker(Work work) {
  auto link = std::make_shared<WorkerLink>();
  link->target = this;
  m_link = link;
  m_running = true;
  const unsigned fill = m_fill;
  try {
    m_thread = std::thread([link, fill, work = std::move(work)] {
      work(*link, fill);
      Post(*link, fill, [](CImageListCtrl& list) {
        list.m_running = false;
        list.OnWorkerFinished();
      });
      std::lock_guard lock(link->mutex);
      link->done = true;
      link->ended.notify_all();
    });
  } catch (const std::system_error&) {
    // No thread: the list stays without what the worker would have made.
    m_link.reset();
    m_running = false;
  }
}

void CImageListCtrl::Post(WorkerLink& link, unsigned fill,
                          std::function<void(CImageListCtrl&)> fn) {
  std::lock_guard lock(link.mutex);
  auto* list = static_cast<CImageListCtrl*>(link.target);
  if (!list) return;
  list->CallAfter([list, fill, fn = std::move(fn)] {
    if (list->m_fill == fill) fn(*list);
  });
}

void CImageListCtrl::SelectIndex(int index) { m_selected = index; }

void CImageListCtrl::OnItemSelected(wxListEvent& event) {
  const long index = event.GetIndex();
  if (index >= 0 && size_t(index) < m_names.size() && index != m_selected) SelectIndex(int(index));
  event.Skip();
}

void CImageListCtrl::OnItemActivated(wxListEvent& event) {
  if (event.GetIndex() >= 0 && size_t(event.GetIndex()) < m_names.size() &&
      event.GetIndex() != m_selected)
    SelectIndex(int(event.GetIndex()));
  OpenSelected();
}

void CImageListCtrl::OnRightClick(wxListEvent& event) {
  const long index = event.GetIndex();
  if (index >= 0 && size_t(index) < m_names.size() && index != m_selected) SelectIndex(int(index));
  ShowContextMenu(ScreenToClient(wxGetMousePosition()));
}

void CImageListCtrl::ShowContextMenu(const wxPoint& where) {
  std::unique_ptr<wxMenu> menu(res::ui::BuildPopup(res::kPopupImage));
  if (!menu) return;
  PopupMenu(menu.get(), where);
}

void CImageListCtrl::OnMenuCommand(wxCommandEvent& event) {
  if (event.GetId() == res::kIdCopyToClipboard)
    CopyToClipboard();
  else
    SendToDesktop();
}

void CImageListCtrl::OnCharHook(wxKeyEvent& event) {
  // While a label is edited every key belongs to the edit box.
  if (GetEditControl()) {
    event.Skip();
    return;
  }
  const int key = event.GetKeyCode();
  const bool plain = event.GetModifiers() == wxMOD_NONE;
  if (key == WXK_MENU || key == WXK_WINDOWS_MENU ||
      (key == WXK_F10 && event.GetModifiers() == wxMOD_SHIFT)) {
    // Menu 206 at the selected item, as a right-click on it would show it.
    if (IsSelectionValid()) {
      wxRect item;
      GetItemRect(m_selected, item);
      ShowContextMenu(item.GetPosition() + wxPoint(item.width / 2, item.height / 2));
    }
    return;
  }
  if (plain && (key == WXK_RETURN || key == WXK_NUMPAD_ENTER)) {
    OpenSelected();
    return;
  }
  if (plain && (key == WXK_DELETE || key == WXK_NUMPAD_DELETE)) {
    DeleteSelected();
    return;
  }
  if (plain && key == WXK_F2) {
    if (IsSelectionValid()) EditLabel(m_selected);
    return;
  }
  if (plain && key == WXK_F5) {
    RefreshList();
    return;
  }
  event.Skip();
}

void CImageListCtrl::OpenSelected() {
  if (!IsSelectionValid()) return;
  const std::string name = m_names[size_t(m_selected)];
  const platform::LaunchResult started =
      platform::StartProgram(platform::kOpenProgram, {SelectedPath().string()});
  if (started.status != platform::LaunchStatus::kStarted) {
    if (showMessage) showMessage(U8(kNoOpenProgram));
    return;
  }
  // xdg-open may wait for the program it starts; the list stays usable meanwhile, and only a
  // picture that nothing opened is worth telling.
  platform::ReapWhenDone(
      started.pid, [alive = m_alive, self = this, name](std::optional<int> code) {
        if (!code || platform::OpenOutcomeForExit(*code) == platform::OpenOutcome::kOpened) return;
        if (wxAppConsole* app = wxAppConsole::GetInstance()) {
          app->CallAfter([alive, self, name] {
            if (*alive && self->showMessage)
              self->showMessage("'" + U8(name) + "'" + U8(kNothingOpens));
          });
        }
      });
}

void CImageListCtrl::DeleteSelected() {
  if (!IsSelectionValid()) return;
  const std::string& name = m_names[size_t(m_selected)];
  const wxString question = "'" + U8(name) + "'" + wxString::FromUTF8("を削除しますか？");
  if (!askYesNo || !askYesNo(question, wxICON_QUESTION)) return;
  // A picture that is still there stays in the list, and the user is told.
  std::error_code ec;
  if (!std::filesystem::remove(SelectedPath(), ec) && ec) {
    if (showMessage) showMessage("'" + U8(name) + "'" + U8(kNotDeleted));
    return;
  }
  const int index = m_selected;
  DeleteItem(index);
  m_names.erase(m_names.begin() + index);
  if (m_cachedName == name) {
    m_cached.Destroy();
    m_cachedName.clear();
  }
  // The selection stays on the same place in the list: the next picture, or none past the end.
  if (size_t(m_selected) >= m_names.size()) m_selected = -1;
  SelectIndex(m_selected);
}

bool CImageListCtrl::RenameItem(int index, const std::string& newName) {
  if (index < 0 || size_t(index) >= m_names.size() || newName.empty()) return false;
  const std::string oldName = m_names[size_t(index)];
  if (newName == oldName) return false;
  platform::FileOperation op;
  op.op = platform::FileOp::Rename;
  op.from = {m_folder / oldName};
  op.to = m_folder / newName;
  op.flags = platform::kAllowUndo;
  const platform::FileOpResult result = platform::ShellFileOperation(op, *m_shellUi);
  if (!result.ok()) return false;
  SetItemText(index, U8(newName));
  m_names[size_t(index)] = newName;
  if (m_cachedName == oldName) m_cachedName = newName;
  return true;
}

void CImageListCtrl::OnEndLabelEdit(wxListEvent& event) {
  // The control is always told to keep its old label; a successful rename sets the new one.
  event.Veto();
  if (event.IsEditCancelled()) return;
  const int index = int(event.GetIndex());
  if (index < 0 || size_t(index) >= m_names.size()) return;
  const std::string newName = event.GetLabel().utf8_string();
  // The label is set after the edit box has gone, or the control would put the old one back.
  // By then the list may show another folder or other names: only the picture that was edited
  // is renamed, wherever it now stands, and nothing when it is gone.
  CallAfter([this, folder = m_folder, oldName = m_names[size_t(index)], newName] {
    if (m_folder != folder) return;
    const auto at = std::find(m_names.begin(), m_names.end(), oldName);
    if (at != m_names.end()) RenameItem(int(at - m_names.begin()), newName);
  });
}

void CImageListCtrl::CopyToClipboard() {
  if (!IsSelectionValid()) return;
  const std::string& name = m_names[size_t(m_selected)];
  if (!m_cached.IsValid() || m_cachedName != name) {
    const uint32_t type = PictureTypeFromName(name);
    if (type == 0) return;
    m_cached.Load(SelectedPath().string(), type);
    m_cachedName = name;
  }
  // Other programs ask for the picture as PNG, which the toolkit encodes only through its
  // PNG image handler; without it they get nothing.
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  if (!wxTheClipboard->Open()) return;
  wxTheClipboard->Clear();
  if (m_cached.IsValid()) {
    const wxBitmap bitmap = MakeBitmap(m_cached);
    if (bitmap.IsOk()) wxTheClipboard->SetData(new wxBitmapDataObject(bitmap));
  }
  wxTheClipboard->Close();
}

void CImageListCtrl::SendToDesktop() {
  if (!IsSelectionValid()) return;
  const std::string& name = m_names[size_t(m_selected)];
  const wxString failed = "'" + U8(name) + "'" + U8(kNotSent);
  const auto desktop = platform::GetSpecialFolder(platform::SpecialFolder::Desktop, true);
  if (!desktop) {
    if (showMessage) showMessage(failed);
    return;
  }
  const std::filesystem::path source = SelectedPath(), target = *desktop / name;
  std::error_code ec;
  if (std::filesystem::copy_file(source, target, std::filesystem::copy_options::none, ec)) return;
  // Only a name that is taken is a question; any other failure would only fail again.
  if (!std::filesystem::exists(target, ec)) {
    if (showMessage) showMessage(failed);
    return;
  }
  const wxString question =
      "'" + U8(name) + "'" + wxString::FromUTF8(" は既に存在します。\n上書きしますか？");
  if (!askYesNo || !askYesNo(question, wxICON_EXCLAMATION)) return;
  if (!std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing,
                                  ec) &&
      showMessage)
    showMessage(failed);
}
