#pragma once

#include <wx/window.h>

#include <string>

#include "app/document/ui/DocPanes.h"

class CClipwrenDoc;
class CDetailList;
class CImageArea;
class CImageListCtrl;
class CThumbnailCtrl;
class CxImage;

// The pictures tab: the pictures of the scrap's Images folder as thumbnails filling the tab
// (mode 0), as a photo with a strip of thumbnails below it (mode 1), or as details (mode 2).
class CImagesView : public wxWindow, public IPicturesPane {
 public:
  CImagesView(wxWindow* parent, CClipwrenDoc* doc);
  ~CImagesView() override;

  // The one pictures view of the main window; nullptr before it exists and after it is gone.
  static CImagesView* Current();

  // Gives both lists the scrap's pictures folder; 1 when it holds a picture.
  int LoadFolder(const std::string& scrapFolder) override;
  // Lays the children out for the document's view mode and refreshes the list of that mode;
  // false for a mode other than 0, 1, 2 or when the list found no pictures.
  bool ApplyViewMode() override;
  void GifSettingChanged(bool showGif) override;
  // The thumbnail list's current picture; nullptr when it has none.
  const CxImage* CurrentPicture() const;

  CThumbnailCtrl* Thumbnails() const { return m_thumbnails; }
  CDetailList* Details() const { return m_details; }
  CImageArea* PhotoPane() const { return m_area; }
  // The list of the document's view mode: details in mode 2, thumbnails otherwise.
  CImageListCtrl* ActiveList() const;
  const std::string& PicturesFolder() const { return m_folder; }

 private:
  int ViewMode() const;
  void LayoutChildren();
  void SetMode(int mode);
  void OnSize(wxSizeEvent& event);
  void OnPaint(wxPaintEvent& event);
  void OnViewMode(wxCommandEvent& event);
  void OnUpdateViewMode(wxUpdateUIEvent& event);
  void OnFileCommand(wxCommandEvent& event);
  void OnUpdateFileCommand(wxUpdateUIEvent& event);

  CClipwrenDoc* m_doc;
  std::string m_folder;
  CImageArea* m_area = nullptr;
  CThumbnailCtrl* m_thumbnails = nullptr;
  CDetailList* m_details = nullptr;
};
