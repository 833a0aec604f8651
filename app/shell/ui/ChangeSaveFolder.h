#pragma once

class CClipwrenApp;
class CMainFrame;

// "保存フォルダの変更": the user picks a new save folder; the scrapbook is moved or copied
// there (or left where it is), the program takes the new home folder and rebuilds the tree,
// expanded, with the home item selected. A target inside the home folder is refused before
// the question, unsaved edits go through the save question before anything moves, and a
// transfer that did not bring everything across keeps the old home folder.
void ChangeSaveFolder(CClipwrenApp& app, CMainFrame& frame);
