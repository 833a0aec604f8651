#include "app/document/ui/CClipwrenDoc.h"

#include <algorithm>

CClipwrenDoc::CClipwrenDoc() = default;
CClipwrenDoc::~CClipwrenDoc() = default;

void CClipwrenDoc::AddView(CDocView* view) {
  if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end()) {
    m_views.push_back(view);
  }
}

void CClipwrenDoc::RemoveView(CDocView* view) {
  m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CClipwrenDoc::UpdateAllViews(CDocView* sender, long hint, void* hintObject) {
  // A copy: a view may register or leave while it updates.
  const std::vector<CDocView*> views = m_views;
  for (CDocView* view : views) {
    if (view != sender) view->OnUpdate(sender, hint, hintObject);
  }
}
