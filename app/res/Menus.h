#pragma once

#include <optional>
#include <string>
#include <vector>

namespace res {

// One item of a menu resource. Menu bars hold sub-menus at the top level; each pop-up
// resource holds its pop-up as its first (and only) sub-menu, as the frame and views expect.
struct MenuNode {
  enum class Kind { Command, Separator, SubMenu };
  Kind kind = Kind::Command;
  int id = 0;                   // command number; 0 for separators and sub-menus
  std::string text;             // UTF-8, "&" marks the mnemonic, "\t" starts the shortcut text
  std::vector<MenuNode> items;  // sub-menu items

  bool IsSeparator() const { return kind == Kind::Separator; }
  bool IsSubMenu() const { return kind == Kind::SubMenu; }
};

// The top-level items of menu resource `id` (128, 136, 138, 134, 144, 206, 210); nullopt for
// a number that is not a menu.
std::optional<std::vector<MenuNode>> LoadMenu(int id);

// The sub-menu among `items` whose text is exactly `text`; nullptr when there is none.
const MenuNode* FindSubMenu(const std::vector<MenuNode>& items, std::string_view text);

// Every command number that appears in menu `id`, depth first, in menu order.
std::vector<int> MenuCommands(int id);

}  // namespace res
