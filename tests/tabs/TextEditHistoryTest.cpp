#include "app/tabs/TextEditHistory.h"

#include <gtest/gtest.h>

#include <string>

using tabs::TextEdit;
using tabs::TextEditHistory;

namespace {

// A text with its history, changed the way the control reports changes.
struct Editor {
  std::wstring text;
  TextEditHistory history;

  void Replace(long pos, long length, const std::wstring& with) {
    TextEdit edit{pos, text.substr(static_cast<std::size_t>(pos), static_cast<std::size_t>(length)),
                  with};
    text.replace(static_cast<std::size_t>(pos), static_cast<std::size_t>(length), with);
    history.Record(std::move(edit));
  }
  void Type(long pos, const std::wstring& chars) {
    for (std::size_t i = 0; i < chars.size(); ++i)
      Replace(pos + static_cast<long>(i), 0, chars.substr(i, 1));
  }
  bool Undo() {
    auto edit = history.Undo();
    if (!edit) return false;
    text.replace(static_cast<std::size_t>(edit->pos), edit->inserted.size(), edit->removed);
    return true;
  }
  bool Redo() {
    auto edit = history.Redo();
    if (!edit) return false;
    text.replace(static_cast<std::size_t>(edit->pos), edit->removed.size(), edit->inserted);
    return true;
  }
};

TEST(TextEditHistory, TypingIsOneStepPerLineAndRoundTrips) {
  Editor e{L"日本語"};
  e.Type(3, L"のページ\nです");
  EXPECT_EQ(e.text, L"日本語のページ\nです");
  EXPECT_EQ(e.history.Steps(), 2u);
  ASSERT_TRUE(e.Undo());
  EXPECT_EQ(e.text, L"日本語のページ\n");
  ASSERT_TRUE(e.Undo());
  EXPECT_EQ(e.text, L"日本語");
  EXPECT_FALSE(e.Undo());
  ASSERT_TRUE(e.Redo());
  ASSERT_TRUE(e.Redo());
  EXPECT_EQ(e.text, L"日本語のページ\nです");
  EXPECT_FALSE(e.Redo());
}

TEST(TextEditHistory, BackspaceAndDeleteRunsMergeAndTypingOverASelectionIsOneStep) {
  Editor e{L"abcdef"};
  e.Replace(2, 1, L"");  // Backspace at 3
  e.Replace(1, 1, L"");  // Backspace at 2
  EXPECT_EQ(e.history.Steps(), 1u);
  e.history.Seal();
  e.Replace(1, 1, L"");  // Delete at 1
  e.Replace(1, 1, L"");
  EXPECT_EQ(e.text, L"af");
  EXPECT_EQ(e.history.Steps(), 2u);
  e.history.Seal();
  e.Replace(0, 2, L"");  // a selection deleted, then typed over
  e.Type(0, L"xy");
  EXPECT_EQ(e.text, L"xy");
  EXPECT_EQ(e.history.Steps(), 3u);
  ASSERT_TRUE(e.Undo());
  EXPECT_EQ(e.text, L"af");
  ASSERT_TRUE(e.Undo());
  ASSERT_TRUE(e.Undo());
  EXPECT_EQ(e.text, L"abcdef");
}

TEST(TextEditHistory, PasteAndSealStartStepsAndANewChangeDropsTheUndone) {
  Editor e{L""};
  e.Type(0, L"ab");
  e.Replace(2, 0, L"PASTED");
  e.Type(8, L"c");
  EXPECT_EQ(e.history.Steps(), 3u);
  ASSERT_TRUE(e.Undo());
  EXPECT_TRUE(e.history.CanRedo());
  e.Type(8, L"z");
  EXPECT_FALSE(e.history.CanRedo());
  EXPECT_EQ(e.text, L"abPASTEDz");
}

TEST(TextEditHistory, OldestStepsGoWhenTheBytesRunOutButNeverTheNewest) {
  Editor e{L""};
  e.history = TextEditHistory(100 * sizeof(wchar_t));
  e.Replace(0, 0, std::wstring(60, L'a'));
  e.Replace(60, 0, std::wstring(60, L'b'));
  EXPECT_EQ(e.history.Steps(), 1u);
  EXPECT_EQ(e.history.Bytes(), 60 * sizeof(wchar_t));
  e.Replace(0, 120, std::wstring(500, L'c'));
  EXPECT_EQ(e.history.Steps(), 1u) << "one step larger than the limit is still undoable";
  ASSERT_TRUE(e.Undo());
  EXPECT_EQ(e.text, std::wstring(60, L'a') + std::wstring(60, L'b'));
  EXPECT_FALSE(e.Undo());
}

}  // namespace
