#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string_view>

#include "app/res/Menus.h"
#include "app/res/Resource.h"
#include "app/res/StringTable.h"

namespace {

struct CommandRow {
  int id;
  std::string_view menuText;
  std::string_view prompt;
  std::string_view tip;
};

// Every command with its menu text, status-bar prompt and tool tip, byte for byte. The exit
// command reads "終了(&X)" on the page tabs' bar; the other bars override it.
constexpr CommandRow kCommands[] = {
    {207, "フォルダ作成", "新しいフォルダを作成します。", ""},
    {208, "削除\tDel", "", ""},
    {209, "名前変更\tF2", "", ""},
    {32771, "", "元に戻ります", "元に戻り"},
    {32772, "", "やり直します", "やり直し"},
    {32773, "範囲の選択", "範囲を選択する", "範囲の選択"},
    {32776, "選択された範囲をコピー", "選択された範囲をコピーする", "選択された範囲のコピー"},
    {32778, "図形の選択", "図形を選択する", "図形の選択"},
    {32779, "", "ペンを選択する", "ペン"},
    {32781, "矢印", "矢印を選択する", "矢印"},
    {32783, "テキストボックス", "テキストボックスを選択する", "テキストボックス"},
    {32784, "図形の配置を元に戻す\tCtrl+Z(&U)", "図形の配置を元に戻す", "図形の配置を元に戻し"},
    {32785, "図形の配置をやり直す\tCtrl+Y(&Y)", "図形の配置をやり直す", "図形の配置をやり直し"},
    {32788, "図形の削除\tDelete(&D)", "選択さして図形を削除する", "図形の削除"},
    {32790, "ズームイン\t+", "ズームイン", "ズームイン"},
    {32791, "ズームアウト\t-", "ズームアウト", "ズームアウト"},
    {32792, "画面サイズに合わせる(&F)", "画面サイズに合わせる", "画面サイズに合わせる"},
    {32794, "等倍(&E)", "画像を等倍で表示する", "等倍"},
    {32796, "縮小版表示", "", ""},
    {32797, "切り抜き(&A)", "切り抜きます", "切り抜き"},
    {32798, "写真表示", "", ""},
    {32799, "全体タブのコピー作成", "全体タブのコピーを作成する", "全体タブのコピー作成"},
    {32800, "PDF設定(&T)...", "PDFの設定をする", "PDFの設定"},
    {32802, "印刷設定(&E)...", "印刷のオプションを設定する", "印刷オプションの設定"},
    {32803, "全体タブのコピー削除", "全体のコピータブを削除する", "コピータブの削除"},
    {32804, "日付昇順", "日付昇順で並び替える", "日付昇順"},
    {32805, "日付降順", "日付降順で並び替える", "日付降順"},
    {32806, "名前順", "名前順で並び替える", "名前順"},
    {32808, "画像書き出し(&A)", "画像ファイルとして保存する", "画像ファイルとして保存"},
    {32810, "PDF書き出し(&F)", "PDFとして保存する", "PDFとして保存"},
    {32814, "", "画像表示設定", "画像表示設定"},
    {32815, "最新の情報に更新\tF5", "", ""},
    {32821, "黒細ペン", "", ""},
    {32822, "黒太ペン", "", ""},
    {32823, "赤細ペン", "", ""},
    {32824, "蛍光黄色", "", ""},
    {32825, "蛍光緑", "", ""},
    {32826, "蛍光青", "", ""},
    {32827, "蛍光ピンク", "", ""},
    {32828, "消しゴム", "", ""},
    {32829, "クリップボードにコピー", "クリップボードにコピーする", "クリップボードにコピー"},
    {32832, "GIFを表示しない", "", ""},
    {32834, "検索\tCtrl+F", "指定された文字列を検索します。", "検索"},
    {32835, "次の検索\tF3", "直前に行った検索を繰り返します。", "次の検索"},
    {32836, "", "", ""},
    {32837, "", "", ""},
    {32840, "ホームページを開く(&O)", "ホームページを開ける", "ホームページを開く"},
    {32841, "フォルダを全て展開", "フォルダを全て展開する", "フォルダを全て展開"},
    {32842, "フォルダを全て閉じる", "フォルダを全て閉じる", "フォルダを全て閉じる"},
    {32845, "元に戻す", "元に戻す", "元に戻す"},
    {32846, "上へ\tAlt+↑", "上へ移動する", "上へ移動"},
    {32847, "下へ\tAlt+↓", "下へ移動する", "下へ移動"},
    {32849, "デスクトップに送る", "デスクトップに送る", "デスクトップに送る"},
    {32850, "左側ツリーを全て開く(&E)", "左側ツリーを全て開く", "左側ツリーを全て開く"},
    {32851, "左側ツリーを全て閉じる(&C)", "左側ツリーを全て閉じる", "左側ツリーを全て閉じる"},
    {32852, "ホームページ(&H)", "タルンウィックのホームページを開きます。", "ホームページ"},
    {32855, "テキストの全文検索", "指定された文字列を全体スクラップブックで検索します。",
     "テキストの全文検索"},
    {32858, "選択された範囲の消去", "選択された範囲を消去します。", "選択範囲の消去"},
    {32860, "保存フォルダの変更", "", ""},
    {32864, "メール送信", "メール送信", "メール送信"},
    {32865, "Evernote登録設定", "Evernote登録設定", "Evernote登録設定"},
    {32866, "Evernoteに登録", "Evernoteに登録", "Evernoteに登録"},
    {57603, "保存(&S)\tCtrl+S", "スクラップの変更を保存する", "スクラップの変更の保存"},
    {57606, "プリンタの設定(&R)...", "プリンタを設定する", "プリンタの設定"},
    {57607, "印刷(&P)...\tCtrl+P", "画像を印刷する", "画像の印刷"},
    {57609, "印刷プレビュｰ(&V)", "印刷イメージを表示", "印刷プレビュー"},
    {57632, "削除\tDel", "選択範囲を消去", "消去"},
    {57634, "コピー\tCtrl+C", "選択範囲をコピーしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存", "コピー"},
    {57635, "切り取り\tCtrl+X", "選択範囲を切り取ってクリップボードに保存", "切り取り"},
    {57637, "貼り付け\tCtrl+V", "クリップボードの内容を貼り付け", "貼り付け"},
    {57642, "すべての選択\tCtrl+A", "ファイル内のすべてを選択", "すべて選択"},
    {57643, "元に戻す\tCtrl+Z", "直前に行った動作を元に戻す", "元に戻す"},
    {57644, "やり直し\tCtrl+Y", "直前に行った動作を繰り返す", "繰り返す"},
    {57664, "バージョン情報(&A)...", "プログラムの情報、バージョンそして著作権を表示",
     "バージョン情報"},
    {57665, "終了(&X)", "アプリケーションを終了し、ファイルの保存を指示", "終了"},
    {57667, "トピックの検索(&F)...\tF1", "トピックの検索をします。", "トピックの検索"},
    {57680, "", "次のウィンドウに切り替える", "次のペイン"},
    {57681, "", "前のウィンドウに切り替える", "前のペイン"},
    {59392, "ツール　バー(&T)", "ツールバーの 表示/非表示", "ツールバーの表示切り替え"},
    {59393, "ステータス　バー(&S)", "ステータスバーの 表示/非表示", "ステータスバーの表示切り替え"},
    {59411, "詳細表示", "", ""},
};

void PrintTo(const CommandRow& row, std::ostream* os) { *os << row.id; }

class CommandTextTest : public ::testing::TestWithParam<CommandRow> {};

TEST_P(CommandTextTest, MenuTextPromptAndTipAreExact) {
  const CommandRow& row = GetParam();
  EXPECT_EQ(res::CommandMenuText(row.id), row.menuText);
  EXPECT_EQ(res::CommandPrompt(row.id), row.prompt);
  EXPECT_EQ(res::CommandTip(row.id), row.tip);
}

TEST_P(CommandTextTest, StringIsPromptLineFeedTip) {
  const CommandRow& row = GetParam();
  const std::string_view s = res::LoadString(row.id);
  if (row.prompt.empty() && row.tip.empty()) {
    EXPECT_TRUE(s.empty());
  } else if (row.tip.empty()) {
    EXPECT_EQ(s, row.prompt);
  } else {
    EXPECT_EQ(s, std::string(row.prompt) + "\n" + std::string(row.tip));
  }
}

INSTANTIATE_TEST_SUITE_P(AllCommands, CommandTextTest, ::testing::ValuesIn(kCommands),
                         [](const auto& info) { return std::to_string(info.param.id); });

TEST(StringTableTest, FixedStrings) {
  EXPECT_EQ(res::LoadString(res::kStrShortName), "クリップレン");
  EXPECT_EQ(res::LoadString(res::kStrAppTitle), "クリップレン帳");
  EXPECT_EQ(res::LoadString(res::kStrIdlePrompt), "レディ");
  EXPECT_EQ(res::LoadString(res::kStrHelpNotFound), "「クリップレン帳」のヘルプが見つかりません。");
  EXPECT_EQ(res::LoadString(131), "画像書き出し");
  EXPECT_EQ(res::LoadString(61508), "ページ %u\nページ %u-%u\n");
}

TEST(StringTableTest, UnknownNumbersGiveEmptyText) {
  for (int id : {0, -1, 1, 32774, 32830, 99999}) {
    EXPECT_TRUE(res::LoadString(id).empty()) << id;
    EXPECT_TRUE(res::CommandPrompt(id).empty()) << id;
    EXPECT_TRUE(res::CommandTip(id).empty()) << id;
    EXPECT_TRUE(res::CommandMenuText(id).empty()) << id;
  }
}

// Half-width katakana and the ideographic space are easy to "correct" by accident.
TEST(StringTableTest, KeepsHalfWidthAndIdeographicCharacters) {
  EXPECT_EQ(res::CommandMenuText(57609), "印刷プレビュ\xEF\xBD\xB0(&V)");
  EXPECT_EQ(res::CommandMenuText(59392), "ツール\xE3\x80\x80バー(&T)");
  EXPECT_EQ(res::CommandPrompt(57634),
            "選択範囲をコピーして\xEF\xBD\xB8\xEF\xBE\x98\xEF\xBD\xAF\xEF\xBE\x8C\xEF\xBE\x9F"
            "\xEF\xBE\x8E\xEF\xBE\x9E\xEF\xBD\xB0\xEF\xBE\x84\xEF\xBE\x9Eに保存");
}

// Every command a menu shows has its own text in the command table.
TEST(StringTableTest, EveryMenuCommandIsInTheTable) {
  std::set<int> known;
  for (const CommandRow& row : kCommands) known.insert(row.id);
  for (int menu : {128, 136, 138, 134, 144, 206, 210})
    for (int id : res::MenuCommands(menu)) EXPECT_TRUE(known.count(id)) << menu << ": " << id;
}

}  // namespace
