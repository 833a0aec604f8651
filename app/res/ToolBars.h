#pragma once

#include <span>

namespace res {

// One position of a tool bar. Separators have command 0 (or the id of a window that is
// placed over them) and a width in pixels; buttons have a picture index into the strip.
struct ToolDef {
  int command;
  int picture;  // index into the 20×20 strip, −1 for separators
  int separatorWidth;
  bool dropDown = false;

  bool IsSeparator() const { return picture < 0; }
};

inline constexpr int kToolButtonWidth = 27;
inline constexpr int kToolButtonHeight = 26;
inline constexpr int kToolPictureSize = 20;
inline constexpr int kSeparatorWidth = 6;
inline constexpr int kZoomBoxWidth = 70;
inline constexpr int kSearchBoxWidth = 120;

// The 29 positions of the main tool bar.
std::span<const ToolDef> MainToolBar();
// The search tool bar as its resource holds it: the search box's slot and the find button.
std::span<const ToolDef> SearchToolBar();
// The drawing tools and crop mode: their buttons show pressed, and their menu items a check
// mark, while the tool is the current one.
bool ShowsToolState(int command);

// The status bar's panes after the message pane.
struct StatusPaneDef {
  int id;
  int width;
  int icon;  // 16×16 icon resource shown while the pane has text
};
std::span<const StatusPaneDef> StatusPanes();
inline constexpr int kMessagePaneInitialWidth = 620;

}  // namespace res
