#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

// Undo and redo for the text tab. The text control reports each change (what it removed and
// what it inserted at a position, in the control's characters); a run of typing, or of
// deleting with Backspace or Delete, becomes one step, as does typing over a selection.
namespace tabs {

struct TextEdit {
  long pos = 0;
  std::wstring removed;
  std::wstring inserted;
};

class TextEditHistory {
 public:
  // Steps are dropped from the oldest end when their texts together exceed this many bytes.
  static constexpr std::size_t kDefaultByteLimit = std::size_t{64} << 20;
  explicit TextEditHistory(std::size_t byteLimit = kDefaultByteLimit) : m_byteLimit(byteLimit) {}

  void Clear();
  // A change the user made; drops everything undone.
  void Record(TextEdit edit);
  // The next change starts a step of its own (the caret moved, the text was replaced…).
  void Seal() { m_sealed = true; }

  [[nodiscard]] bool CanUndo() const { return !m_done.empty(); }
  [[nodiscard]] bool CanRedo() const { return !m_undone.empty(); }
  // The step to take back: the caller replaces [pos, pos + inserted.size()) with removed.
  std::optional<TextEdit> Undo();
  // The step to make again: the caller replaces [pos, pos + removed.size()) with inserted.
  std::optional<TextEdit> Redo();

  [[nodiscard]] std::size_t Bytes() const { return m_bytes; }
  [[nodiscard]] std::size_t Steps() const { return m_done.size(); }

 private:
  static std::size_t SizeOf(const TextEdit& edit) {
    return (edit.removed.size() + edit.inserted.size()) * sizeof(wchar_t);
  }
  bool Merge(TextEdit& last, const TextEdit& edit) const;
  void Trim();

  std::deque<TextEdit> m_done;
  std::deque<TextEdit> m_undone;
  std::size_t m_bytes = 0;
  std::size_t m_byteLimit;
  bool m_sealed = true;
};

}  // namespace tabs
