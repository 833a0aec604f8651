#include "app/pageview/ui/Cursors.h"

const wxCursor& CursorOf(CursorKind kind) {
  // Made on first use: cursors need a display, and every window shares them.
  static const wxCursor kMove(wxCURSOR_SIZING), kNwse(wxCURSOR_SIZENWSE), kNesw(wxCURSOR_SIZENESW),
      kWe(wxCURSOR_SIZEWE), kNs(wxCURSOR_SIZENS), kIBeam(wxCURSOR_IBEAM), kCross(wxCURSOR_CROSS),
      kArrow(wxCURSOR_ARROW);
  switch (kind) {
    case CursorKind::Move:
      return kMove;
    case CursorKind::SizeNWSE:
      return kNwse;
    case CursorKind::SizeNESW:
      return kNesw;
    case CursorKind::SizeWE:
      return kWe;
    case CursorKind::SizeNS:
      return kNs;
    case CursorKind::IBeam:
      return kIBeam;
    case CursorKind::Cross:
      return kCross;
    case CursorKind::Default:
      break;
  }
  return kArrow;
}
