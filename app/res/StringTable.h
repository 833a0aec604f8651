#pragma once

#include <string_view>

namespace res {

// The program's string table: number → UTF-8 text. A command's string holds its status-bar
// prompt, a line feed and its tool tip; either part may be empty.
// Returns an empty view for a number that has no string.
std::string_view LoadString(int id);

// The part of a command's string before the line feed (the whole string when it has none).
std::string_view CommandPrompt(int id);
// The part after the first line feed; empty when there is none.
std::string_view CommandTip(int id);

// The text a menu shows for a command ("保存(&S)\tCtrl+S"), empty for commands that never
// appear in a menu. Menus may override it (the exit item reads differently on some bars).
std::string_view CommandMenuText(int id);

}  // namespace res
