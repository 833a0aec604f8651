#pragma once

#include <wx/imaglist.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/tabs/ui/CImageListCtrl.h"

// The detail list: name, size and modification time of every picture, with the icon the
// desktop's icon theme gives its content type, filled in the background.
class CDetailList : public CImageListCtrl {
 public:
  CDetailList(wxWindow* parent, int id, CClipwrenDoc* doc);
  ~CDetailList() override;

  bool RefreshList() override;
  std::function<void()> onProgress;

 protected:
  void OnWorkerFinished() override;

 private:
  // The image-list index of the first of the theme's icon names it has; a plain file icon
  // when it has none of them.
  int IconIndex(const std::vector<std::string>& iconNames);

  std::unique_ptr<wxImageList> m_icons;
  std::map<std::string, int> m_iconByName;
};
