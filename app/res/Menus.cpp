#include "app/res/Menus.h"

#include <span>
#include <string_view>

#include "app/res/Resource.h"
#include "app/res/StringTable.h"

namespace res {
namespace {

// Menus are written flat, one row per item, as the menu resources list them: each row carries
// its nesting depth. A row with kSub opens a
// sub-menu that holds the following deeper rows; kSep is a separator. A command row takes
// its text from the command table unless it gives one.
constexpr int kSep = 0;
constexpr int kSub = -1;

struct Row {
  int depth;
  int id;
  std::string_view text = {};
};

// The help menu ends every menu bar; the file menu of the text and pictures tabs is shared.
constexpr Row kHelpMenu[] = {
    {0, kSub, "ヘルプ(&H)"},
    {1, kIdHelpFinder},
    {1, kIdAppAbout},
    {1, kSep},
    {1, kIdHomePage},
};

constexpr Row kFileMenuTextAndPictures[] = {
    {0, kSub, "ファイル(&F)"},
    {1, kIdFileSave},
    {1, kSep},
    {1, kIdFilePrint},
    {1, kIdPrintPreview},
    {1, kIdPrintSetup},
    {1, kSep},
    {1, kIdEvernoteRegister},
    {1, kIdEvernoteSettings},
    {1, kSep},
    {1, kIdSendMail},
    {1, kSep},
    {1, kIdChangeSaveFolder},
    {1, kSep},
    {1, kIdOpenPageAddress},
    {1, kSep},
    {1, kIdAppExit, "アプリケーションの終了(&X)"},
};

constexpr Row kMenu128[] = {
    {0, kSub, "ファイル(&F)"},
    {1, kIdFileSave},
    {1, kIdExportPicture},
    {1, kIdExportPdf},
    {1, kIdPdfSettings},
    {1, kSep},
    {1, kIdFilePrint},
    {1, kIdPrintPreview},
    {1, kIdPrintOptions},
    {1, kIdPrintSetup},
    {1, kSep},
    {1, kIdEvernoteRegister},
    {1, kIdEvernoteSettings},
    {1, kSep},
    {1, kIdSendMail},
    {1, kSep},
    {1, kIdChangeSaveFolder},
    {1, kSep},
    {1, kIdOpenPageAddress},
    {1, kSep},
    {1, kIdAppExit, "終了(&X)"},
    {0, kSub, "編集(&E)"},
    {1, kIdCrop},
    {1, kIdRangeSelect},
    {1, kIdCopyRange},
    {1, kIdEraseRange},
    {1, kSep},
    {1, kIdShapeUndo},
    {1, kIdShapeRedo},
    {1, kIdShapeDelete},
    {1, kSep},
    {1, kIdFindInScrapbook},
    {1, kSep},
    {1, kIdCreateCopyTab},
    {1, kIdDeleteCopyTab},
    {1, kSep},
    {1, kIdMoveUp},
    {1, kIdMoveDown},
    {0, kSub, "ツール(&T)"},
    {1, kIdShapeSelect},
    {1, kSub, "ペン"},
    {2, kIdPenBlackThin},
    {2, kIdPenBlackThick},
    {2, kIdPenRedThin},
    {2, kIdMarkerYellow},
    {2, kIdMarkerGreen},
    {2, kIdMarkerBlue},
    {2, kIdMarkerPink},
    {2, kIdEraser},
    {1, kIdArrow},
    {1, kIdTextBox},
    {0, kSub, "表示(&V)"},
    {1, kIdZoomIn},
    {1, kIdZoomOut},
    {1, kIdZoomFit},
    {1, kIdZoomActual},
    {1, kSep},
    {1, kIdViewToolBar},
    {1, kIdViewStatusBar},
    {1, kSep},
    {1, kIdTreeExpandAll},
    {1, kIdTreeCollapseAll},
};

constexpr Row kMenu136[] = {
    {0, kSub, "編集(&E)"},
    {1, kIdEditUndo},
    {1, kIdEditRedo},
    {1, kSep},
    {1, kIdFind},
    {1, kIdFindNext},
    {1, kIdFindInScrapbook},
    {1, kSep},
    {1, kIdEditCut},
    {1, kIdEditCopy},
    {1, kIdEditPaste},
    {1, kIdEditClear},
    {1, kIdEditSelectAll},
    {1, kSep},
    {1, kIdMoveUp},
    {1, kIdMoveDown},
    {0, kSub, "表示(&V)"},
    {1, kIdViewToolBar},
    {1, kIdViewStatusBar},
    {1, kSep},
    {1, kIdTreeExpandAll},
    {1, kIdTreeCollapseAll},
};

constexpr Row kMenu138[] = {
    {0, kSub, "編集(&E)"},
    {1, kIdCopyToClipboard},
    {1, kIdSendToDesktop},
    {1, kSep},
    {1, kIdFindInScrapbook},
    {1, kSep},
    {1, kIdMoveUp},
    {1, kIdMoveDown},
    {0, kSub, "表示(&V)"},
    {1, kIdThumbnailView},
    {1, kIdPhotoView},
    {1, kIdViewDetails},
    {1, kIdHideGif},
    {1, kSep},
    {1, kIdViewToolBar},
    {1, kIdViewStatusBar},
    {1, kSep},
    {1, kIdTreeExpandAll},
    {1, kIdTreeCollapseAll},
};

constexpr Row kPopup134[] = {
    {0, kSub, "Popup"},  {1, kIdThumbnailView}, {1, kIdPhotoView},
    {1, kIdViewDetails}, {1, kIdHideGif},
};

constexpr Row kPopup144[] = {
    {0, kSub, "Tree Popup"},
    {1, kIdNewFolder},
    {1, kIdDeleteItem},
    {1, kIdRenameItem},
    {1, kSep},
    {1, kSub, "並び替え"},
    {2, kIdSortDateAscending},
    {2, kIdSortDateDescending},
    {2, kIdSortName},
    {1, kIdRestoreOrder},
    {1, kIdMoveUp},
    {1, kIdMoveDown},
    {1, kSep},
    {1, kIdExpandFolders},
    {1, kIdCollapseFolders},
    {1, kSep},
    {1, kIdFindInScrapbook},
    {1, kIdRefresh},
};

constexpr Row kPopup206[] = {
    {0, kSub, "Image Popup"},
    {1, kIdCopyToClipboard},
    {1, kIdSendToDesktop},
};

constexpr Row kPopup210[] = {
    {0, kSub, "Picture Popup"},
    {1, kIdEraseRange},
};

// A menu resource as the row tables it is made of, in order.
std::vector<std::span<const Row>> Parts(int id) {
  switch (id) {
    case kMenuPageTabs:
      return {kMenu128, kHelpMenu};
    case kMenuTextTab:
      return {kFileMenuTextAndPictures, kMenu136, kHelpMenu};
    case kMenuPicturesTab:
      return {kFileMenuTextAndPictures, kMenu138, kHelpMenu};
    case kPopupPictureDisplay:
      return {kPopup134};
    case kPopupTree:
      return {kPopup144};
    case kPopupImage:
      return {kPopup206};
    case kPopupPicture:
      return {kPopup210};
    default:
      return {};
  }
}

// Builds the items at `depth` starting at rows[pos]; advances pos past them.
std::vector<MenuNode> Build(std::span<const Row> rows, std::size_t& pos, int depth) {
  std::vector<MenuNode> items;
  while (pos < rows.size() && rows[pos].depth == depth) {
    const Row& row = rows[pos++];
    MenuNode node;
    if (row.id == kSep) {
      node.kind = MenuNode::Kind::Separator;
    } else if (row.id == kSub) {
      node.kind = MenuNode::Kind::SubMenu;
      node.text = std::string(row.text);
      node.items = Build(rows, pos, depth + 1);
    } else {
      node.id = row.id;
      node.text = std::string(row.text.empty() ? CommandMenuText(row.id) : row.text);
    }
    items.push_back(std::move(node));
  }
  return items;
}

void Collect(const std::vector<MenuNode>& items, std::vector<int>& ids) {
  for (const MenuNode& n : items) {
    if (n.IsSubMenu())
      Collect(n.items, ids);
    else if (!n.IsSeparator())
      ids.push_back(n.id);
  }
}

}  // namespace

std::optional<std::vector<MenuNode>> LoadMenu(int id) {
  const std::vector<std::span<const Row>> parts = Parts(id);
  if (parts.empty()) return std::nullopt;
  std::vector<MenuNode> items;
  for (const std::span<const Row> rows : parts) {
    std::size_t pos = 0;
    for (MenuNode& node : Build(rows, pos, 0)) items.push_back(std::move(node));
  }
  return items;
}

const MenuNode* FindSubMenu(const std::vector<MenuNode>& items, std::string_view text) {
  for (const MenuNode& n : items)
    if (n.IsSubMenu() && n.text == text) return &n;
  return nullptr;
}

std::vector<int> MenuCommands(int id) {
  std::vector<int> ids;
  if (const auto menu = LoadMenu(id)) Collect(*menu, ids);
  return ids;
}

}  // namespace res
