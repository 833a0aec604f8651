#include <gtest/gtest.h>

#include <wx/menu.h>

#include <memory>

#include "app/res/StringTable.h"
#include "app/res/ui/MenuBuilder.h"
#include "app/res/ui/ResArt.h"
#include "tests/support/GuiTest.h"

namespace {

class MenuBuilderTest : public guitest::GuiTest {};

struct LabelCase {
  int menu, id;
  const char* label;
};

// Shortcut text the toolkit cannot read as a key keeps its mnemonic in front of the tab;
// everything else is the table's text unchanged.
TEST_F(MenuBuilderTest, LabelsHelpAndKinds) {
  const LabelCase cases[] = {
      {128, 57603, "保存(&S)\tCtrl+S"},       {128, 32784, "図形の配置を元に戻す(&U)\tCtrl+Z"},
      {128, 32788, "図形の削除(&D)\tDelete"}, {128, 32846, "上へ\tAlt+Up"},
      {128, 32847, "下へ\tAlt+Down"},         {128, 32790, "ズームイン\t+"},
      {128, 57609, "印刷プレビュｰ(&V)"},      {128, 59392, "ツール　バー(&T)"},
      {136, 57634, "コピー\tCtrl+C"},         {136, 57665, "アプリケーションの終了(&X)"},
      {138, 32832, "GIFを表示しない"},
  };
  for (const LabelCase& c : cases) {
    std::unique_ptr<wxMenuBar> bar(res::ui::BuildMenuBar(c.menu));
    ASSERT_TRUE(bar);
    wxMenuItem* item = bar->FindItem(c.id);
    ASSERT_NE(item, nullptr) << c.id;
    EXPECT_EQ(item->GetItemLabel().utf8_string(), c.label) << c.id;
    const std::string_view prompt = res::CommandPrompt(c.id);
    EXPECT_EQ(item->GetHelp().utf8_string(), std::string(prompt)) << c.id;
  }
  std::unique_ptr<wxMenuBar> page(res::ui::BuildMenuBar(128));
  EXPECT_EQ(page->GetMenuCount(), 5u);
  EXPECT_EQ(page->GetMenuLabel(2).utf8_string(), "ツール(&T)");
  EXPECT_TRUE(page->FindItem(59392)->IsCheckable());
  EXPECT_FALSE(page->FindItem(57603)->IsCheckable());
  std::unique_ptr<wxMenuBar> pictures(res::ui::BuildMenuBar(138));
  EXPECT_EQ(pictures->FindItem(32796)->GetKind(), wxITEM_RADIO);
  EXPECT_EQ(pictures->FindItem(32832)->GetKind(), wxITEM_CHECK);
  EXPECT_EQ(res::ui::BuildMenuBar(134), nullptr) << "a pop-up is no menu bar";
}

TEST_F(MenuBuilderTest, PopUpsAndSubMenus) {
  std::unique_ptr<wxMenu> display(res::ui::BuildPopup(134));
  ASSERT_TRUE(display);
  EXPECT_EQ(display->GetMenuItemCount(), 4u);
  EXPECT_EQ(display->FindItemByPosition(0)->GetId(), 32796);
  std::unique_ptr<wxMenu> tree(res::ui::BuildPopup(144));
  ASSERT_TRUE(tree);
  EXPECT_EQ(tree->GetMenuItemCount(), 14u);
  EXPECT_TRUE(tree->FindItemByPosition(4)->IsSubMenu());
  std::unique_ptr<wxMenu> pens(res::ui::BuildSubMenu(128, {"ツール(&T)", "ペン"}));
  ASSERT_TRUE(pens);
  EXPECT_EQ(pens->GetMenuItemCount(), 8u);
  EXPECT_EQ(pens->FindItemByPosition(7)->GetItemLabel().utf8_string(), "消しゴム");
  EXPECT_EQ(res::ui::BuildSubMenu(128, {"ツール(&T)", "ない"}), nullptr);
  EXPECT_EQ(res::ui::BuildPopup(999), nullptr);
}

TEST_F(MenuBuilderTest, PicturesRender) {
  for (int index : {0, 1, 9, 18, 23, 30, 32}) {
    const wxBitmap normal = res::ui::ToolPicture(index).GetBitmap(wxSize(20, 20));
    ASSERT_TRUE(normal.IsOk()) << index;
    // Something is drawn, and not everywhere.
    const wxImage image = normal.ConvertToImage();
    int opaque = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) opaque += !image.HasAlpha() || image.GetAlpha(x, y) > 128;
    EXPECT_GT(opaque, 20) << index;
    EXPECT_LT(opaque, 400) << index;
  }
  EXPECT_FALSE(res::ui::ToolPicture(4).IsOk());
  const wxBitmap mask = res::ui::ResourceBitmap(202);
  ASSERT_TRUE(mask.IsOk());
  EXPECT_EQ(mask.GetSize(), wxSize(96, 26));
  // HiDPI: the same picture at twice the size stays a picture, not an upscaled one.
  EXPECT_EQ(res::ui::ToolPicture(0).GetBitmap(wxSize(40, 40)).GetSize(), wxSize(40, 40));
  EXPECT_GE(res::ui::ProgramIcons().GetIconCount(), 5u);
  res::ui::CClipwrenArtProvider::Install();
  EXPECT_TRUE(wxArtProvider::GetBitmapBundle(res::ui::CClipwrenArtProvider::ArtId(145)).IsOk());
}

}  // namespace
