#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/res/Menus.h"

namespace {

using res::MenuNode;

// Writes a menu as one line per item so a whole bar compares in one assertion and a
// difference shows exactly where it is: "text" for sub-menus (followed by their items,
// indented), "—" for separators and the number for commands.
void Flatten(const std::vector<MenuNode>& items, int depth, std::vector<std::string>& out) {
  for (const MenuNode& n : items) {
    const std::string indent(depth * 2, ' ');
    if (n.IsSubMenu()) {
      out.push_back(indent + n.text);
      Flatten(n.items, depth + 1, out);
    } else if (n.IsSeparator()) {
      out.push_back(indent + "—");
    } else {
      out.push_back(indent + std::to_string(n.id));
    }
  }
}

std::vector<std::string> Flat(int id) {
  std::vector<std::string> out;
  const auto menu = res::LoadMenu(id);
  EXPECT_TRUE(menu.has_value()) << id;
  if (menu) Flatten(*menu, 0, out);
  return out;
}

// Builds the expected lines from a compact description: "S:text" opens a sub-menu one level
// deeper, "E" closes it, "-" is a separator, anything else a command number.
std::vector<std::string> Expect(std::initializer_list<const char*> items) {
  std::vector<std::string> out;
  int depth = 0;
  for (std::string s : items) {
    const std::string indent(depth * 2, ' ');
    if (s.rfind("S:", 0) == 0) {
      out.push_back(indent + s.substr(2));
      ++depth;
    } else if (s == "E") {
      --depth;
    } else if (s == "-") {
      out.push_back(indent + "—");
    } else {
      out.push_back(indent + s);
    }
  }
  return out;
}

#define HELP "S:ヘルプ(&H)", "57667", "57664", "-", "32852", "E"
#define FILE_TEXT_TABS                                                                            \
  "S:ファイル(&F)", "57603", "-", "57607", "57609", "57606", "-", "32866", "32865", "-", "32864", \
      "-", "32860", "-", "32840", "-", "57665", "E"

TEST(MenusTest, PageTabsBar128) {
  EXPECT_EQ(Flat(128), Expect({"S:ファイル(&F)",
                               "57603",
                               "32808",
                               "32810",
                               "32800",
                               "-",
                               "57607",
                               "57609",
                               "32802",
                               "57606",
                               "-",
                               "32866",
                               "32865",
                               "-",
                               "32864",
                               "-",
                               "32860",
                               "-",
                               "32840",
                               "-",
                               "57665",
                               "E",
                               "S:編集(&E)",
                               "32797",
                               "32773",
                               "32776",
                               "32858",
                               "-",
                               "32784",
                               "32785",
                               "32788",
                               "-",
                               "32855",
                               "-",
                               "32799",
                               "32803",
                               "-",
                               "32846",
                               "32847",
                               "E",
                               "S:ツール(&T)",
                               "32778",
                               "S:ペン",
                               "32821",
                               "32822",
                               "32823",
                               "32824",
                               "32825",
                               "32826",
                               "32827",
                               "32828",
                               "E",
                               "32781",
                               "32783",
                               "E",
                               "S:表示(&V)",
                               "32790",
                               "32791",
                               "32792",
                               "32794",
                               "-",
                               "59392",
                               "59393",
                               "-",
                               "32850",
                               "32851",
                               "E",
                               HELP}));
}

TEST(MenusTest, TextTabBar136) {
  EXPECT_EQ(
      Flat(136),
      Expect(
          {FILE_TEXT_TABS, "S:編集(&E)", "57643", "57644", "-",     "32834", "32835", "32855", "-",
           "57635",        "57634",      "57637", "57632", "57642", "-",     "32846", "32847", "E",
           "S:表示(&V)",   "59392",      "59393", "-",     "32850", "32851", "E",     HELP}));
}

TEST(MenusTest, PicturesTabBar138) {
  EXPECT_EQ(
      Flat(138),
      Expect(
          {FILE_TEXT_TABS, "S:編集(&E)", "32829",      "32849", "-",     "32855", "-",     "32846",
           "32847",        "E",          "S:表示(&V)", "32796", "32798", "59411", "32832", "-",
           "59392",        "59393",      "-",          "32850", "32851", "E",     HELP}));
}

TEST(MenusTest, PopUps) {
  EXPECT_EQ(Flat(134), Expect({"S:Popup", "32796", "32798", "59411", "32832", "E"}));
  EXPECT_EQ(Flat(144),
            Expect({"S:Tree Popup", "207",   "208", "209",   "-",     "S:並び替え", "32804",
                    "32805",        "32806", "E",   "32845", "32846", "32847",      "-",
                    "32841",        "32842", "-",   "32855", "32815", "E"}));
  EXPECT_EQ(Flat(206), Expect({"S:Image Popup", "32829", "32849", "E"}));
  EXPECT_EQ(Flat(210), Expect({"S:Picture Popup", "32858", "E"}));
}

TEST(MenusTest, ExitTextDependsOnTheBar) {
  for (const auto& [menu, text] : {std::pair{128, "終了(&X)"},
                                   {136, "アプリケーションの終了(&X)"},
                                   {138, "アプリケーションの終了(&X)"}}) {
    const auto items = res::LoadMenu(menu);
    ASSERT_TRUE(items);
    const MenuNode* file = res::FindSubMenu(*items, "ファイル(&F)");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->items.back().id, 57665);
    EXPECT_EQ(file->items.back().text, text) << menu;
  }
}

TEST(MenusTest, CommandItemsCarryTheirMenuText) {
  const auto items = res::LoadMenu(128);
  ASSERT_TRUE(items);
  const MenuNode* tools = res::FindSubMenu(*items, "ツール(&T)");
  ASSERT_NE(tools, nullptr);
  const MenuNode* pens = res::FindSubMenu(tools->items, "ペン");
  ASSERT_NE(pens, nullptr);
  ASSERT_EQ(pens->items.size(), 8u);
  EXPECT_EQ(pens->items[0].text, "黒細ペン");
  EXPECT_EQ(pens->items[7].text, "消しゴム");
  EXPECT_EQ((*items)[0].items[0].text, "保存(&S)\tCtrl+S");
}

TEST(MenusTest, UnknownMenuNumbers) {
  for (int id : {0, 100, 129, 140, 30997}) EXPECT_FALSE(res::LoadMenu(id)) << id;
  EXPECT_TRUE(res::MenuCommands(129).empty());
}

}  // namespace
