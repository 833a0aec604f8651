#pragma once

#include <wx/listctrl.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/image/CxImage.h"
#include "platform/ShellFileOperation.h"

class CClipwrenDoc;

// The picture list the thumbnail and detail lists share: the pictures folder, its sorted
// names, the selection, the keys and the context menu, and the file commands (open, rename,
// delete, copy to the clipboard, send to the desktop).
//
// Each list fills itself on a worker thread. The worker never touches the window: it posts
// every finished item to the interface thread, and checks the stop flag at every name, so a
// stop always completes at the next name boundary and the interface thread never waits on a
// worker that waits for it. Items are stamped with the fill they belong to; a refresh starts a
// new fill, so nothing the old worker made can reach the new list.
class CImageListCtrl : public wxListCtrl {
 public:
  CImageListCtrl(wxWindow* parent, int id, long style, CClipwrenDoc* doc);
  ~CImageListCtrl() override;

  void SetFolder(const std::filesystem::path& folder) { m_folder = folder; }
  const std::filesystem::path& Folder() const { return m_folder; }
  const std::vector<std::string>& Names() const { return m_names; }
  int Selected() const { return m_selected; }
  bool IsRunning() const { return m_running; }

  // Fills the list anew; true when the folder has pictures to show.
  virtual bool RefreshList() = 0;
  // Asks the worker to stop and waits for it at most 500 ms. True when no worker was left
  // running (it ended in time, or there was none).
  bool StopWorker();

  // The command entry points, also used by the pictures view for the menu commands.
  void OpenSelected();
  void DeleteSelected();
  void CopyToClipboard();
  void SendToDesktop();
  // Rename of item `index` to `newName` through the shell file operation; on failure the old
  // label stays. True when renamed.
  bool RenameItem(int index, const std::string& newName);
  // Menu 206 at `where` (client coordinates).
  void ShowContextMenu(const wxPoint& where);

  // What the user is asked and told; the program's message boxes unless a test puts its own
  // answers here. Pictures open in the desktop's program for their type (xdg-open).
  std::function<bool(const wxString& text, long icon)> askYesNo;
  std::function<void(const wxString& text)> showMessage;
  void SetShellUi(platform::ShellUi* ui) { m_shellUi = ui; }

 protected:
  // Shared by the list and its worker; outlives the list when a worker is given up on.
  struct WorkerLink {
    std::mutex mutex;
    wxEvtHandler* target = nullptr;  // cleared when the list stops listening
    std::atomic<bool> stop{false};
    bool done = false;
    std::condition_variable ended;
  };
  using Work = std::function<void(WorkerLink& link, unsigned fill)>;

  // Lists the folder into the names and sets the selection; true when names were found.
  bool ListPictures();
  // Starts `work` on its own thread for the current fill.
  void StartWorker(Work work);
  // Runs `fn` on the interface thread if the list is still listening to this worker's fill.
  static void Post(WorkerLink& link, unsigned fill, std::function<void(CImageListCtrl&)> fn);
  unsigned Fill() const { return m_fill; }
  // Makes `index` the selection; the thumbnail list also loads the picture.
  virtual void SelectIndex(int index);
  virtual void OnWorkerFinished() {}
  bool IsSelectionValid() const { return m_selected >= 0 && size_t(m_selected) < m_names.size(); }
  std::filesystem::path SelectedPath() const { return m_folder / m_names[size_t(m_selected)]; }

  CClipwrenDoc* m_doc;
  std::filesystem::path m_folder;
  std::vector<std::string> m_names;
  int m_selected = -1;
  CxImage m_cached;
  std::string m_cachedName;
  bool m_running = false;

 private:
  void OnCharHook(wxKeyEvent& event);
  void OnItemSelected(wxListEvent& event);
  void OnItemActivated(wxListEvent& event);
  void OnRightClick(wxListEvent& event);
  void OnEndLabelEdit(wxListEvent& event);
  void OnMenuCommand(wxCommandEvent& event);

  std::shared_ptr<WorkerLink> m_link;
  std::thread m_thread;
  unsigned m_fill = 0;
  platform::ShellUi* m_shellUi = nullptr;
  std::unique_ptr<platform::ShellUi> m_ownShellUi;
  // Cleared when the list goes, so an answer from xdg-open that comes later finds no list.
  std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
