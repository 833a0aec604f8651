#include "app/store/ScrapbookMove.h"

#include <algorithm>
#include <system_error>

namespace store {

namespace fs = std::filesystem;

namespace {

fs::path Resolved(const fs::path& p) {
  std::error_code ec;
  fs::path r = fs::weakly_canonical(fs::absolute(p, ec), ec);
  if (ec) r = p.lexically_normal();
  if (!r.has_filename() && r != r.root_path()) r = r.parent_path();
  return r;
}

bool IsSameOrBelow(const fs::path& inner, const fs::path& outer) {
  auto [o, i] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
  return o == outer.end();
}

std::int64_t EntrySize(const fs::directory_entry& entry) {
  std::error_code ec;
  const fs::file_status status = entry.symlink_status(ec);
  if (ec || !fs::is_regular_file(status)) return -1;
  const auto size = entry.file_size(ec);
  return ec ? -1 : static_cast<std::int64_t>(size);
}

}  // namespace

std::string RefuseSaveFolder(const fs::path& newSaveFolder, const fs::path& oldHome) {
  if (oldHome.empty()) return {};
  if (!IsSameOrBelow(Resolved(newSaveFolder), Resolved(oldHome))) return {};
  return "新しい保存フォルダがスクラップブックのフォルダ「" + oldHome.filename().string() +
         "」の中にあります。\nスクラップブックをそれ自身の中へ移動またはコピーすることはできません"
         "。"
         "\n別のフォルダを選択してください。";
}

Manifest TakeManifest(const fs::path& root) {
  Manifest manifest;
  std::error_code ec;
  fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
  for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
    manifest[fs::path(it->path()).lexically_relative(root).string()] = EntrySize(*it);
  }
  return manifest;
}

std::size_t CountMissing(const Manifest& sent, const fs::path& root) {
  std::size_t missing = 0;
  for (const auto& [relative, size] : sent) {
    std::error_code ec;
    const fs::path path = root / relative;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec || !fs::exists(status)) {
      ++missing;
      continue;
    }
    if (size >= 0) {
      const auto arrived = fs::is_regular_file(status) ? fs::file_size(path, ec) : 0;
      if (ec || !fs::is_regular_file(status) || static_cast<std::int64_t>(arrived) != size)
        ++missing;
    }
  }
  return missing;
}

TransferResult TransferScrapbook(ScrapbookTransfer how, const fs::path& oldHome,
                                 const fs::path& newSaveFolder, platform::ShellUi& ui) {
  TransferResult result;
  std::error_code ec;
  if (how == ScrapbookTransfer::Leave || oldHome.empty() || !fs::is_directory(oldHome, ec)) {
    result.switchHome = true;  // nothing to send
    return result;
  }
  const Manifest sent = TakeManifest(oldHome);
  platform::FileOperation op;
  op.op = how == ScrapbookTransfer::Move ? platform::FileOp::Move : platform::FileOp::Copy;
  op.from = {oldHome};
  op.to = newSaveFolder;
  const platform::FileOpResult done = platform::ShellFileOperation(op, ui);
  const fs::path newHome = newSaveFolder / oldHome.filename();
  const std::size_t missing = CountMissing(sent, newHome);
  if (done.ok() && missing == 0) {
    result.switchHome = true;
    return result;
  }
  const bool cancelled = done.code == platform::kFileOpCancelled || done.aborted;
  std::string text = cancelled ? "スクラップブックの" : "スクラップブックを";
  text += how == ScrapbookTransfer::Move ? "移動" : "コピー";
  text += cancelled ? "は中止されました。" : "できませんでした。";
  if (missing > 0 && missing < sent.size()) {
    text += "\n" + std::to_string(sent.size() - missing) + " 個の項目は移動先にあり、" +
            std::to_string(missing) + " 個の項目は届いていません。";
  } else if (missing > 0) {
    text += "\n移動先には何も届いていません。";
  }
  text += "\n保存フォルダは変更しません。今のスクラップブック: " + oldHome.string();
  if (missing < sent.size()) text += "\n届いた分: " + newHome.string();
  result.message = text;
  return result;
}

}  // namespace store
