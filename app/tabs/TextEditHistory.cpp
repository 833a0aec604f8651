#include "app/tabs/TextEditHistory.h"

#include <utility>

namespace tabs {

namespace {

// Typing merges one character at a time; a line break ends the run (see Merge), so undo takes
// back a line at a time.
bool IsTyping(const std::wstring& text) { return text.size() == 1; }

}  // namespace

void TextEditHistory::Clear() {
  m_done.clear();
  m_undone.clear();
  m_bytes = 0;
  m_sealed = true;
}

bool TextEditHistory::Merge(TextEdit& last, const TextEdit& edit) const {
  const long lastEnd = last.pos + static_cast<long>(last.inserted.size());
  if (edit.removed.empty()) {
    // What is typed or pasted over a selection replaces it in one step.
    if (last.inserted.empty() && edit.pos == last.pos) {
      last.inserted = edit.inserted;
      return true;
    }
    // Typing on after the step's text.
    if (IsTyping(edit.inserted) && !last.inserted.empty() && edit.pos == lastEnd &&
        last.inserted.back() != L'\n') {
      last.inserted += edit.inserted;
      return true;
    }
    return false;
  }
  if (edit.inserted.empty() && last.inserted.empty() && IsTyping(edit.removed)) {
    if (edit.pos + 1 == last.pos) {  // Backspace
      last.removed.insert(0, edit.removed);
      last.pos = edit.pos;
      return true;
    }
    if (edit.pos == last.pos) {  // Delete
      last.removed += edit.removed;
      return true;
    }
  }
  return false;
}

void TextEditHistory::Record(TextEdit edit) {
  if (edit.removed.empty() && edit.inserted.empty()) return;
  m_undone.clear();
  if (!m_sealed && !m_done.empty()) {
    TextEdit& last = m_done.back();
    const std::size_t before = SizeOf(last);
    if (Merge(last, edit)) {
      m_bytes += SizeOf(last) - before;
      if (!edit.inserted.empty() && !IsTyping(edit.inserted)) m_sealed = true;
      Trim();
      return;
    }
  }
  // A pure deletion of a selection may be followed by the text typed over it.
  m_sealed = !(edit.inserted.empty() || IsTyping(edit.inserted) || IsTyping(edit.removed));
  m_bytes += SizeOf(edit);
  m_done.push_back(std::move(edit));
  Trim();
}

void TextEditHistory::Trim() {
  // The newest step always stays, however large: it is the one the user will undo first.
  while (m_bytes > m_byteLimit && m_done.size() > 1) {
    m_bytes -= SizeOf(m_done.front());
    m_done.pop_front();
  }
}

std::optional<TextEdit> TextEditHistory::Undo() {
  if (m_done.empty()) return std::nullopt;
  TextEdit edit = std::move(m_done.back());
  m_done.pop_back();
  m_bytes -= SizeOf(edit);
  m_undone.push_back(edit);
  m_sealed = true;
  return edit;
}

std::optional<TextEdit> TextEditHistory::Redo() {
  if (m_undone.empty()) return std::nullopt;
  TextEdit edit = std::move(m_undone.back());
  m_undone.pop_back();
  m_bytes += SizeOf(edit);
  m_done.push_back(edit);
  m_sealed = true;
  Trim();
  return edit;
}

}  // namespace tabs
