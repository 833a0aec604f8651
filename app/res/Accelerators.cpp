#include "app/res/Accelerators.h"

#include "app/res/Resource.h"

namespace res {
namespace {

// Only the keys the frame itself turns into commands; the other keys that menu texts show
// are handled by the views that own those commands.
constexpr AccelDef kMainAccelerators[] = {
    {kModCtrl, 'F', kIdFind},
    {kModNone, kKeyF3, kIdFindNext},
    {kModShift, kKeyF3, kIdFindPrevious},
    {kModCtrl, kKeyF3, kIdFindNextSelected},
    {kModCtrl, 'P', kIdFilePrint},
    {kModCtrl, 'S', kIdFileSave},
    {kModNone, kKeyF6, kIdNextPane},
    {kModShift, kKeyF6, kIdPreviousPane},
    {kModNone, kKeyF1, kIdHelpFinder},
};

constexpr AccelDef kPreviewAccelerators[] = {
    {kModNone, kKeyPageDown, kIdPreviewNext},
    {kModNone, kKeyPageUp, kIdPreviewPrevious},
    {kModNone, kKeyEscape, kIdPreviewClose},
};

}  // namespace

std::span<const AccelDef> AcceleratorTable(int id) {
  switch (id) {
    case kAccelMain:
      return kMainAccelerators;
    case kAccelPreview:
      return kPreviewAccelerators;
    default:
      return {};
  }
}

}  // namespace res
