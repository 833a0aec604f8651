#include "app/pageview/CShapeHistory.h"

void CShapeHistory::Record(const _HISITEM& item) {
  m_items.resize(static_cast<size_t>(m_undo + 1));
  m_items.push_back(item);
  m_undo = Size() - 1;
  m_redo = -1;
}

void CShapeHistory::Clear() {
  m_items.clear();
  m_undo = -1;
  m_redo = -1;
}

const _HISITEM* CShapeHistory::TakeUndo() {
  if (m_undo < 0) return nullptr;
  const _HISITEM* item = &m_items[static_cast<size_t>(m_undo)];
  m_redo = m_undo;
  --m_undo;
  return item;
}

const _HISITEM* CShapeHistory::TakeRedo() {
  if (m_redo < 0) return nullptr;
  const _HISITEM* item = &m_items[static_cast<size_t>(m_redo)];
  m_undo = m_redo;
  m_redo = m_redo + 1 < Size() ? m_redo + 1 : -1;
  return item;
}
