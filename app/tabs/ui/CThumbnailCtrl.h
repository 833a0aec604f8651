#pragma once

#include <wx/imaglist.h>

#include <functional>
#include <memory>

#include "app/tabs/ui/CImageListCtrl.h"

// The thumbnail list: every picture of the folder as a 100 × 90 cell, made in the background.
// Its current picture is what the photo pane shows.
class CThumbnailCtrl : public CImageListCtrl {
 public:
  CThumbnailCtrl(wxWindow* parent, int id, CClipwrenDoc* doc);
  ~CThumbnailCtrl() override;

  bool RefreshList() override;
  void Clear();
  // Loads the selected picture as the cached picture and has the photo pane repaint.
  void LoadCurrentPicture();
  const CxImage* CurrentPicture() const { return m_cached.IsValid() ? &m_cached : nullptr; }
  // Items in columns (the photo view's strip, scrolling sideways) or in rows.
  void SetAlignLeft(bool left);

  // How many thumbnails have been put in place since the last refresh.
  int ThumbnailsDone() const { return m_done; }
  // Called on the interface thread after each thumbnail is in place and when the fill ends.
  std::function<void()> onProgress;
  // Called when the current picture changed (the photo pane repaints).
  std::function<void()> onCurrentPicture;

 protected:
  void SelectIndex(int index) override;
  void OnWorkerFinished() override;

 private:
  std::unique_ptr<wxImageList> m_images;
  int m_done = 0;
};
