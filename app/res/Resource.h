#pragma once

// Numbers of every command, child window and resource of the main program. Commands keep
// their numbers as window ids, so a menu item, a tool button and an accelerator that share a
// number are the same command everywhere.
namespace res {

// Folder tree context menu and left-pane buttons.
inline constexpr int kIdNewFolder = 207;
inline constexpr int kIdDeleteItem = 208;
inline constexpr int kIdRenameItem = 209;

// Picture tabs.
inline constexpr int kIdUndo = 32771;
inline constexpr int kIdRedo = 32772;
inline constexpr int kIdRangeSelect = 32773;
inline constexpr int kIdCopyRange = 32776;
inline constexpr int kIdShapeSelect = 32778;
inline constexpr int kIdPen = 32779;
inline constexpr int kIdArrow = 32781;
inline constexpr int kIdTextBox = 32783;
inline constexpr int kIdShapeUndo = 32784;
inline constexpr int kIdShapeRedo = 32785;
inline constexpr int kIdShapeDelete = 32788;
inline constexpr int kIdZoomIn = 32790;
inline constexpr int kIdZoomOut = 32791;
inline constexpr int kIdZoomFit = 32792;
inline constexpr int kIdZoomActual = 32794;
inline constexpr int kIdThumbnailView = 32796;
inline constexpr int kIdCrop = 32797;
inline constexpr int kIdPhotoView = 32798;
inline constexpr int kIdCreateCopyTab = 32799;
inline constexpr int kIdPdfSettings = 32800;
inline constexpr int kIdPrintOptions = 32802;
inline constexpr int kIdDeleteCopyTab = 32803;
inline constexpr int kIdSortDateAscending = 32804;
inline constexpr int kIdSortDateDescending = 32805;
inline constexpr int kIdSortName = 32806;
inline constexpr int kIdExportPicture = 32808;
inline constexpr int kIdExportPdf = 32810;
inline constexpr int kIdZoomBox = 32811;
inline constexpr int kIdPictureDisplay = 32814;
inline constexpr int kIdRefresh = 32815;
// The eight pens, in the order of the pen menu; a pen's index is its id − kIdPenFirst.
inline constexpr int kIdPenFirst = 32821;
inline constexpr int kIdPenBlackThin = 32821;
inline constexpr int kIdPenBlackThick = 32822;
inline constexpr int kIdPenRedThin = 32823;
inline constexpr int kIdMarkerYellow = 32824;
inline constexpr int kIdMarkerGreen = 32825;
inline constexpr int kIdMarkerBlue = 32826;
inline constexpr int kIdMarkerPink = 32827;
inline constexpr int kIdEraser = 32828;
inline constexpr int kIdPenLast = 32828;
inline constexpr int kIdCopyToClipboard = 32829;
inline constexpr int kIdSearchBoxSlot = 32830;
inline constexpr int kIdHideGif = 32832;
inline constexpr int kIdSearchBox = 32833;
inline constexpr int kIdFind = 32834;
inline constexpr int kIdFindNext = 32835;
inline constexpr int kIdFindNextSelected = 32836;
inline constexpr int kIdFindPrevious = 32837;
inline constexpr int kIdSearchToolBar = 32839;
inline constexpr int kIdOpenPageAddress = 32840;
inline constexpr int kIdExpandFolders = 32841;
inline constexpr int kIdCollapseFolders = 32842;
inline constexpr int kIdRestoreOrder = 32845;
inline constexpr int kIdMoveUp = 32846;
inline constexpr int kIdMoveDown = 32847;
inline constexpr int kIdSendToDesktop = 32849;
inline constexpr int kIdTreeExpandAll = 32850;
inline constexpr int kIdTreeCollapseAll = 32851;
inline constexpr int kIdHomePage = 32852;
inline constexpr int kIdFindInScrapbook = 32855;
inline constexpr int kIdEraseRange = 32858;
inline constexpr int kIdChangeSaveFolder = 32860;
inline constexpr int kIdSendMail = 32864;
inline constexpr int kIdEvernoteSettings = 32865;
inline constexpr int kIdEvernoteRegister = 32866;

// Standard commands of the window framework, with the framework's numbers.
inline constexpr int kIdFileSave = 57603;
inline constexpr int kIdPrintSetup = 57606;
inline constexpr int kIdFilePrint = 57607;
inline constexpr int kIdPrintPreview = 57609;
inline constexpr int kIdEditClear = 57632;
inline constexpr int kIdEditCopy = 57634;
inline constexpr int kIdEditCut = 57635;
inline constexpr int kIdEditPaste = 57637;
inline constexpr int kIdEditSelectAll = 57642;
inline constexpr int kIdEditUndo = 57643;
inline constexpr int kIdEditRedo = 57644;
inline constexpr int kIdAppAbout = 57664;
inline constexpr int kIdAppExit = 57665;
inline constexpr int kIdHelpFinder = 57667;
inline constexpr int kIdNextPane = 57680;
inline constexpr int kIdPreviousPane = 57681;
inline constexpr int kIdViewToolBar = 59392;
inline constexpr int kIdViewStatusBar = 59393;
inline constexpr int kIdViewDetails = 59411;

// Print preview keys.
inline constexpr int kIdPreviewClose = 58112;
inline constexpr int kIdPreviewNext = 58114;
inline constexpr int kIdPreviewPrevious = 58115;

// Child windows of the main frame. The main tool bar and the status bar share their numbers
// with the commands that show and hide them.
inline constexpr int kIdMainToolBar = 59392;
inline constexpr int kIdStatusBar = 59393;
inline constexpr int kIdPaneCursor = 59143;
inline constexpr int kIdPaneSelection = 59144;
inline constexpr int kIdPaneSize = 59145;
inline constexpr int kIdSplitterFirstPane = 59648;
inline constexpr int kIdPageView = 59650;
inline constexpr int kIdCopyView = 59651;
inline constexpr int kIdTextView = 59652;
inline constexpr int kIdPicturesView = 59653;
inline constexpr int kIdFolderTree = 1011;
inline constexpr int kIdTabPage = 1016;
inline constexpr int kIdTabText = 1018;
inline constexpr int kIdTabPictures = 1020;
inline constexpr int kIdTabCopy = 1044;

// Menus, pop-ups and accelerator tables.
inline constexpr int kMenuPageTabs = 128;
inline constexpr int kMenuTextTab = 136;
inline constexpr int kMenuPicturesTab = 138;
inline constexpr int kPopupPictureDisplay = 134;
inline constexpr int kPopupTree = 144;
inline constexpr int kPopupImage = 206;
inline constexpr int kPopupPicture = 210;
inline constexpr int kAccelMain = 128;
inline constexpr int kAccelPreview = 30997;

// Pictures. The tool strips hold 20×20 pictures indexed as in the main tool bar.
inline constexpr int kIconMain = 128;
inline constexpr int kBmpToolStrip = 140;
inline constexpr int kBmpToolStripHot = 142;
inline constexpr int kBmpStar = 143;
// The add dialog's large star and the mask it is drawn through (black: star, white: dialog).
inline constexpr int kBmpAddStar = 133;
inline constexpr int kBmpAddStarMask = 135;
inline constexpr int kIconCursorPos = 145;
inline constexpr int kIconSelectionSize = 146;
inline constexpr int kIconPictureSize = 147;
// Paper orientation shown beside the print settings' choice.
inline constexpr int kIconPortrait = 158;
inline constexpr int kIconLandscape = 159;
inline constexpr int kToolBarSearch = 164;
inline constexpr int kBmpScrap = 168;
inline constexpr int kBmpFolder = 171;
inline constexpr int kToolPictureCount = 33;
// Pen pictures in the strip start here; the chosen pen's index is added.
inline constexpr int kToolPicturePenFirst = 23;

// Skins of the left pane's buttons (normal, pressed, hover, disabled, mask).
inline constexpr int kSkinNewFolderNormal = 193;
inline constexpr int kSkinNewFolderPressed = 194;
inline constexpr int kSkinNewFolderHover = 195;
inline constexpr int kSkinNewFolderMask = 198;
inline constexpr int kSkinDeleteNormal = 183;
inline constexpr int kSkinDeletePressed = 188;
inline constexpr int kSkinDeleteHover = 190;
inline constexpr int kSkinDeleteDisabled = 172;
inline constexpr int kSkinDeleteMask = 191;
inline constexpr int kSkinRenameNormal = 199;
inline constexpr int kSkinRenamePressed = 200;
inline constexpr int kSkinRenameHover = 201;
inline constexpr int kSkinRenameDisabled = 166;
inline constexpr int kSkinRenameMask = 180;
// Skins of the tab strip's buttons (normal, down, over = focus) and their common mask.
inline constexpr int kSkinTabPageNormal = 154;
inline constexpr int kSkinTabPageDown = 150;
inline constexpr int kSkinTabPageOver = 152;
inline constexpr int kSkinTabCopyNormal = 179;
inline constexpr int kSkinTabCopyDown = 184;
inline constexpr int kSkinTabCopyOver = 187;
inline constexpr int kSkinTabTextNormal = 203;
inline constexpr int kSkinTabTextDown = 174;
inline constexpr int kSkinTabTextOver = 177;
inline constexpr int kSkinTabPicturesNormal = 160;
inline constexpr int kSkinTabPicturesDown = 192;
inline constexpr int kSkinTabPicturesOver = 169;
inline constexpr int kSkinTabMask = 202;

// Strings that are not command prompts.
inline constexpr int kStrShortName = 102;
inline constexpr int kStrAppTitle = 57344;
inline constexpr int kStrIdlePrompt = 57345;
inline constexpr int kStrHelpNotFound = 61447;
// The print preview's page description: one page, then two pages side by side.
inline constexpr int kStrPreviewPageDescription = 61508;

}  // namespace res
