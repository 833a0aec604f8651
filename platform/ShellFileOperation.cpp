#include "platform/ShellFileOperation.h"

#include <system_error>

#include "platform/FileOpSteps.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// "/a/b/" names the folder b, as "/a/b" does.
fs::path Normalized(const fs::path& p) {
  fs::path n = p.lexically_normal();
  if (!n.has_filename() && n.has_parent_path() && n != n.root_path()) n = n.parent_path();
  return n;
}

fs::path Canonical(const fs::path& p) {
  std::error_code ec;
  fs::path c = fs::weakly_canonical(p, ec);
  return ec ? Normalized(p) : Normalized(c);
}

bool IsSameOrBelow(const fs::path& inner, const fs::path& outer) {
  auto [o, i] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
  return o == outer.end();
}

bool Exists(const fs::path& p) {
  std::error_code ec;
  return fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec;
}

// The user knows an item by its name, not by the absolute path: a long path would make the
// message wider than the screen.
std::string MessageFor(int code, const fs::path& item) {
  fs::path name = item.filename();
  if (name.empty()) name = Normalized(item).filename();
  return FileOpErrorMessage(code, name.string());
}

}  // namespace

std::string FileOpErrorMessage(int code, const std::string& itemName) {
  std::string name = "「";
  name += itemName;
  name += "」";
  switch (code) {
    case kFileOpFileNotFound: return name + "が見つかりません。";
    case kFileOpAccessDenied: return name + "にアクセスできません。";
    case kFileOpAlreadyExists: return name + "と同じ名前の項目が既に存在します。";
    case kFileOpInvalidName: return name + "は名前として使えません。";
    case kFileOpNameTooLong: return name + "の名前が長すぎます。";
    case kFileOpSameFile: return name + "の移動元と移動先が同じです。";
    case kFileOpDestIsSubtree: return name + "をそのフォルダ自身の中へ移動またはコピーすることはできません。";
    case kFileOpNotAFolder: return name + "はフォルダではありません。";
    case kFileOpDiskFull: return "ディスクの空き領域が不足しています。";
    case kFileOpNotSupported: return name + "はごみ箱に移動できません。";
    default: return name + "を処理できませんでした。";
  }
}

namespace {

class Runner {
 public:
  Runner(const FileOperation& op, ShellUi& ui)
      : m_op(op), m_ui(ui), m_yesToAll((op.flags & kNoConfirmation) != 0) {}

  FileOpResult Run() {
    for (const fs::path& source : m_op.from) {
      if (!Exists(source)) return Fail(kFileOpFileNotFound, source);
    }
    switch (m_op.op) {
      case FileOp::Delete: return Delete();
      case FileOp::Rename: return Rename();
      case FileOp::Move:
      case FileOp::Copy: return Transfer();
    }
    return Fail(kFileOpInvalidParameter, {});
  }

 private:
  FileOpResult Fail(int code, const fs::path& item) {
    m_result.code = code;
    // Silent means no progress window; errors are always reported.
    m_ui.ReportError(MessageFor(code, item));
    return m_result;
  }

  FileOpResult Cancel() {
    m_result.code = kFileOpCancelled;
    m_result.aborted = true;
    return m_result;
  }

  bool Progress(const fs::path& item, std::size_t done) {
    return (m_op.flags & kSilent) || m_ui.Progress(item, done, m_op.from.size());
  }

  FileOpResult Delete() {
    const bool toTrash = (m_op.flags & kAllowUndo) != 0;
    if (!m_yesToAll && !m_op.from.empty()) {
      const auto answer = m_ui.ConfirmDelete(m_op.from, toTrash);
      if (answer == ShellUi::Answer::No || answer == ShellUi::Answer::Cancel) return Cancel();
    }
    for (std::size_t i = 0; i < m_op.from.size(); ++i) {
      const fs::path& item = m_op.from[i];
      if (!Progress(item, i)) return Cancel();
      const int code = toTrash ? fileop::TrashItem(item) : fileop::RemoveItem(item);
      if (code) return Fail(code, item);
    }
    return m_result;
  }

  FileOpResult Rename() {
    if (m_op.from.size() != 1 || m_op.to.empty()) return Fail(kFileOpInvalidParameter, m_op.to);
    const fs::path source = Normalized(m_op.from[0]);
    const fs::path& to = m_op.to;
    const std::string name = to.filename().string();
    // The new name is typed by the user and joined to the folder: a "/" in it shows up as a
    // different parent folder.
    if (name.empty() || name == "." || name == ".." ||
        Canonical(to.parent_path()) != Canonical(source.parent_path())) {
      return Fail(kFileOpInvalidName, to);
    }
    if (name.size() > 255) return Fail(kFileOpNameTooLong, to);
    if (to.lexically_normal() == source) return m_result;
    if (const int code = fileop::RenameNoReplace(source, to)) return Fail(code, to);
    return m_result;
  }

  FileOpResult Transfer() {
    const bool move = m_op.op == FileOp::Move;
    if (m_op.to.empty()) return Fail(kFileOpInvalidParameter, m_op.to);
    std::error_code ec;
    const auto toStatus = fs::status(m_op.to, ec);
    if (toStatus.type() == fs::file_type::not_found) {
      if (!(m_op.flags & (kNoConfirmMkdir | kNoConfirmation))) {
        const auto answer = m_ui.ConfirmCreateFolder(m_op.to);
        if (answer == ShellUi::Answer::No || answer == ShellUi::Answer::Cancel) return Cancel();
      }
      fs::create_directories(m_op.to, ec);
      if (ec) return Fail(fileop::ErrorFrom(ec), m_op.to);
    } else if (toStatus.type() != fs::file_type::directory) {
      return Fail(kFileOpNotAFolder, m_op.to);
    }
    const fs::path destination = Canonical(m_op.to);
    for (std::size_t i = 0; i < m_op.from.size(); ++i) {
      const fs::path source = Normalized(m_op.from[i]);
      if (!Progress(source, i)) return Cancel();
      // The parent is resolved, the item itself is not: a link is moved, not its target.
      const fs::path sourceParent = Canonical(source.parent_path());
      if (sourceParent == destination) return Fail(kFileOpSameFile, source);
      const bool isFolder = fs::symlink_status(source, ec).type() == fs::file_type::directory;
      if (isFolder && IsSameOrBelow(destination, sourceParent / source.filename())) {
        return Fail(kFileOpDestIsSubtree, source);
      }
      const fs::path target = m_op.to / source.filename();
      const bool exists = Exists(target);
      if (exists && !m_yesToAll) {
        const auto answer = m_ui.ConfirmReplace(source, target);
        if (answer == ShellUi::Answer::Cancel) return Cancel();
        if (answer == ShellUi::Answer::No) {
          m_result.aborted = true;  // skipped
          continue;
        }
        if (answer == ShellUi::Answer::YesToAll) m_yesToAll = true;
      }
      const int code = move ? fileop::MoveItem(source, target, exists)
                            : fileop::CopyItem(source, target, exists);
      if (code) return Fail(code, source);
    }
    return m_result;
  }

  const FileOperation& m_op;
  ShellUi& m_ui;
  bool m_yesToAll;
  FileOpResult m_result;
};

}  // namespace

FileOpResult ShellFileOperation(const FileOperation& op, ShellUi& ui) {
  try {
    return Runner(op, ui).Run();
  } catch (...) {
    // std::filesystem and std::string can throw (allocation); never across this boundary.
    return FileOpResult{kFileOpGeneralFailure, false};
  }
}

}  // namespace platform
