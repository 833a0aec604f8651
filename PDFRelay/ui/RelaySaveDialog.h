#pragma once

#include <string>

#include "PDFRelay/RelayRun.h"

// The relay's user interface on wx: the save dialog with its "open after saving" check box,
// and the desktop's default program for the saved PDF.
namespace pdfrelay {

inline constexpr const char* kDialogTitle = "名前を付けてPDFファイルに保存";
inline constexpr const char* kFileInUseText = "そのファイルは使用中です。";
// The toolkit's dialog has no words for these two refusals; they are this program's own.
inline constexpr const char* kReadOnlyText =
    "このファイルは読み取り専用です。\n別の名前を指定してください。";
inline constexpr const char* kFolderNotWritableText =
    "このフォルダーには保存できません。\n別の場所を指定してください。";
inline constexpr const char* kOpenAfterSaveLabel = "PDFファイルを保存後に開く";
inline constexpr const char* kPdfFilter = "PDF File(*.pdf)|*.pdf";

class CRelaySaveDialog : public RelayUi {
 public:
  std::optional<std::string> AskSavePath(const std::string& proposedName,
                                         const std::string& startFolder,
                                         int& openAfterSave) override;
  void OpenDocument(const std::string& path) override;
};

}  // namespace pdfrelay
