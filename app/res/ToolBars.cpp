#include "app/res/ToolBars.h"

#include "app/res/Resource.h"

namespace res {
namespace {

constexpr ToolDef Sep(int width = kSeparatorWidth, int id = 0) { return {id, -1, width}; }
constexpr ToolDef Button(int id, int picture, bool dropDown = false) {
  return {id, picture, 0, dropDown};
}

constexpr ToolDef kMainToolBar[] = {
    Sep(),
    Button(kIdFileSave, 0),
    Button(kIdExportPdf, 18),
    Sep(),
    Button(kIdFilePrint, 9),
    Button(kIdPrintPreview, 11),
    Button(kIdPrintOptions, 10),
    Sep(),
    Button(kIdCrop, 1),
    Button(kIdRangeSelect, 16),
    Button(kIdCopyRange, 17),
    Button(kIdShapeUndo, 2),
    Button(kIdShapeRedo, 3),
    Sep(),
    Button(kIdZoomOut, 8),
    Sep(kZoomBoxWidth, kIdZoomBox),
    Button(kIdZoomIn, 7),
    Sep(),
    Button(kIdPictureDisplay, 12),
    Sep(),
    Button(kIdShapeSelect, 19),
    Button(kIdPen, kToolPicturePenFirst, true),
    Button(kIdArrow, 21),
    Button(kIdTextBox, 22),
    Sep(),
    Button(kIdOpenPageAddress, 6),
    Sep(),
    Button(kIdEvernoteRegister, 31),
    Button(kIdSendMail, 32),
};
static_assert(std::size(kMainToolBar) == 29);

// Picture 0 of the search strip is the slot the search box replaces, 1 the find button.
constexpr ToolDef kSearchToolBar[] = {
    Button(kIdSearchBoxSlot, 0),
    Button(kIdFind, 1),
};

constexpr StatusPaneDef kStatusPanes[] = {
    {kIdPaneCursor, 117, kIconCursorPos},
    {kIdPaneSelection, 117, kIconSelectionSize},
    {kIdPaneSize, 117, kIconPictureSize},
};

}  // namespace

std::span<const ToolDef> MainToolBar() { return kMainToolBar; }
std::span<const ToolDef> SearchToolBar() { return kSearchToolBar; }
std::span<const StatusPaneDef> StatusPanes() { return kStatusPanes; }

bool ShowsToolState(int command) {
  switch (command) {
    case kIdShapeSelect:
    case kIdArrow:
    case kIdTextBox:
    case kIdRangeSelect:
    case kIdCrop:
      return true;
    default:
      return false;
  }
}

}  // namespace res
