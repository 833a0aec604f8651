#include "platform/ShellFileOperation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>

#include "tests/support/TempDir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;
using Answer = ShellUi::Answer;

// Answers questions from a script and writes down every question it was asked.
class ScriptedUi : public ShellUi {
 public:
  explicit ScriptedUi(std::deque<Answer> answers = {}) : m_answers(std::move(answers)) {}
  Answer ConfirmDelete(const std::vector<fs::path>& items, bool toTrash) override {
    m_questions.push_back((toTrash ? "trash " : "delete ") + std::to_string(items.size()));
    return Next();
  }
  Answer ConfirmReplace(const fs::path& source, const fs::path& destination) override {
    m_questions.push_back("replace " + source.filename().string() + " " +
                          destination.parent_path().filename().string());
    return Next();
  }
  Answer ConfirmCreateFolder(const fs::path& folder) override {
    m_questions.push_back("mkdir " + folder.filename().string());
    return Next();
  }
  void ReportError(const std::string& message) override { m_errors.push_back(message); }
  bool Progress(const fs::path&, std::size_t done, std::size_t total) override {
    m_progress.push_back(std::to_string(done) + "/" + std::to_string(total));
    return m_progressLimit < 0 || static_cast<int>(done) < m_progressLimit;
  }

  std::deque<Answer> m_answers;
  std::vector<std::string> m_questions;
  std::vector<std::string> m_errors;
  std::vector<std::string> m_progress;
  int m_progressLimit = -1;  // Progress answers false from this item on

 private:
  Answer Next() {
    if (m_answers.empty()) return Answer::Cancel;
    const Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
  }
};

class ShellFileOperationTest : public ::testing::Test {
 protected:
  // root/src/Scrap/{Main.jpg, Images/p.png}, root/dst/
  void SetUp() override {
    WriteFile(m_dir / "src/Scrap/Main.jpg", "jpeg");
    WriteFile(m_dir / "src/Scrap/Images/p.png", "png");
    fs::create_directories(m_dir / "dst");
  }
  FileOpResult Run(FileOp op, std::vector<fs::path> from, fs::path to, unsigned flags) {
    return ShellFileOperation({op, std::move(from), std::move(to), flags}, m_ui);
  }
  testsupport::TempDir m_dir;
  ScriptedUi m_ui;
};

TEST_F(ShellFileOperationTest, DeleteWithUndoGoesToTheTrash) {
  m_ui.m_answers = {Answer::Yes};
  const fs::path scrap = m_dir / "src/Scrap";
  const auto r = Run(FileOp::Delete, {scrap}, {}, kAllowUndo | kSilent);
  ASSERT_TRUE(r.ok()) << r.code;
  EXPECT_FALSE(fs::exists(scrap));
  EXPECT_EQ(m_ui.m_questions, (std::vector<std::string>{"trash 1"}));
  const fs::path trash = fs::path(std::getenv("XDG_DATA_HOME")) / "Trash";
  EXPECT_EQ(ReadFile(trash / "files/Scrap/Images/p.png"), "png");
  const std::string info = ReadFile(trash / "info/Scrap.trashinfo");
  EXPECT_EQ(info.rfind("[Trash Info]\n", 0), 0u) << info;
  EXPECT_NE(info.find("\nPath=" + scrap.string() + "\n"), std::string::npos) << info;
  EXPECT_NE(info.find("\nDeletionDate="), std::string::npos) << info;
}

std::size_t TrashCount() {
  std::error_code ec;
  std::size_t n = 0;
  const fs::path files = fs::path(std::getenv("XDG_DATA_HOME")) / "Trash/files";
  for (fs::directory_iterator it(files, ec), end; !ec && it != end; it.increment(ec)) ++n;
  return n;
}

TEST_F(ShellFileOperationTest, DeleteWithoutUndoIsPermanent) {
  const std::size_t inTrash = TrashCount();
  const auto r = Run(FileOp::Delete, {m_dir / "src/Scrap", m_dir / "dst"}, {}, kNoConfirmation);
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(fs::exists(m_dir / "src/Scrap"));
  EXPECT_FALSE(fs::exists(m_dir / "dst"));
  EXPECT_TRUE(m_ui.m_questions.empty());
  EXPECT_EQ(m_ui.m_progress, (std::vector<std::string>{"0/2", "1/2"}));
  EXPECT_EQ(TrashCount(), inTrash);
}

class DeleteRefused : public ShellFileOperationTest, public ::testing::WithParamInterface<Answer> {};
TEST_P(DeleteRefused, LeavesEverything) {
  m_ui.m_answers = {GetParam()};
  const auto r = Run(FileOp::Delete, {m_dir / "src/Scrap"}, {}, kAllowUndo);
  EXPECT_EQ(r.code, kFileOpCancelled);
  EXPECT_TRUE(r.aborted);
  EXPECT_TRUE(fs::exists(m_dir / "src/Scrap/Main.jpg"));
}
INSTANTIATE_TEST_SUITE_P(ShellFileOperation, DeleteRefused,
                         ::testing::Values(Answer::No, Answer::Cancel));

TEST_F(ShellFileOperationTest, MissingSourceIsFileNotFoundBeforeAnythingHappens) {
  auto r = Run(FileOp::Delete, {m_dir / "dst", m_dir / "nope"}, {}, kNoConfirmation);
  EXPECT_EQ(r.code, kFileOpFileNotFound);
  EXPECT_TRUE(fs::exists(m_dir / "dst"));
  EXPECT_EQ(m_ui.m_errors.size(), 1u);
  r = Run(FileOp::Move, {m_dir / "nope"}, m_dir / "dst", kNoConfirmation | kSilent);
  EXPECT_EQ(r.code, kFileOpFileNotFound);
  // kSilent hides the progress only: the error is reported all the same.
  EXPECT_EQ(m_ui.m_errors.size(), 2u);
}

struct RenameCase {
  std::string newName;  // joined to the source's folder
  int code;
};
class RenameTest : public ShellFileOperationTest, public ::testing::WithParamInterface<RenameCase> {};
TEST_P(RenameTest, ResultCode) {
  fs::create_directories(m_dir / "src/Other");
  const fs::path to = (m_dir / "src").string() + "/" + GetParam().newName;
  const auto r = Run(FileOp::Rename, {m_dir / "src/Scrap"}, to, kSilent);
  EXPECT_EQ(r.code, GetParam().code);
  EXPECT_FALSE(r.aborted);
  const bool renamed = GetParam().code == 0 && GetParam().newName != "Scrap";
  EXPECT_EQ(fs::exists(m_dir / "src/Scrap/Main.jpg"), !renamed);
  if (renamed) {
    EXPECT_EQ(ReadFile(to / "Main.jpg"), "jpeg");
  }
}
INSTANTIATE_TEST_SUITE_P(
    ShellFileOperation, RenameTest,
    ::testing::Values(RenameCase{"新しい名前 (2)", 0}, RenameCase{"scrap", 0},
                      RenameCase{"Scrap", 0}, RenameCase{"Other", kFileOpAlreadyExists},
                      RenameCase{"", kFileOpInvalidName}, RenameCase{"..", kFileOpInvalidName},
                      RenameCase{"a/b", kFileOpInvalidName},
                      RenameCase{std::string(256, 'n'), kFileOpNameTooLong}));

TEST_F(ShellFileOperationTest, MoveAndCopyFoldersRecursively) {
  ASSERT_TRUE(Run(FileOp::Copy, {m_dir / "src/Scrap"}, m_dir / "dst", kSilent).ok());
  EXPECT_EQ(ReadFile(m_dir / "dst/Scrap/Images/p.png"), "png");
  EXPECT_EQ(ReadFile(m_dir / "src/Scrap/Images/p.png"), "png");
  ASSERT_TRUE(Run(FileOp::Move, {m_dir / "src/Scrap"}, m_dir / "moved", kNoConfirmMkdir).ok());
  EXPECT_EQ(ReadFile(m_dir / "moved/Scrap/Main.jpg"), "jpeg");
  EXPECT_FALSE(fs::exists(m_dir / "src/Scrap"));
  EXPECT_TRUE(m_ui.m_questions.empty());
}

struct RefusalCase {
  FileOp op;
  std::string from;
  std::string to;
  int code;
};
class TransferRefused : public ShellFileOperationTest,
                        public ::testing::WithParamInterface<RefusalCase> {};
TEST_P(TransferRefused, NothingChanges) {
  const auto r = Run(GetParam().op, {m_dir / GetParam().from}, m_dir / GetParam().to, kSilent);
  EXPECT_EQ(r.code, GetParam().code);
  EXPECT_EQ(ReadFile(m_dir / "src/Scrap/Images/p.png"), "png");
  EXPECT_FALSE(fs::exists(m_dir / "src/Scrap/Scrap"));
}
INSTANTIATE_TEST_SUITE_P(
    ShellFileOperation, TransferRefused,
    ::testing::Values(RefusalCase{FileOp::Move, "src/Scrap", "src/Scrap", kFileOpDestIsSubtree},
                      RefusalCase{FileOp::Move, "src/Scrap/", "src/Scrap/Images",
                                  kFileOpDestIsSubtree},
                      RefusalCase{FileOp::Copy, "src/Scrap", "src/Scrap/Images/../Images",
                                  kFileOpDestIsSubtree},
                      RefusalCase{FileOp::Move, "src/Scrap", "src", kFileOpSameFile},
                      RefusalCase{FileOp::Copy, "src/Scrap/Main.jpg", "src/Scrap", kFileOpSameFile},
                      RefusalCase{FileOp::Move, "src", "src/Scrap/Main.jpg", kFileOpNotAFolder}));

TEST_F(ShellFileOperationTest, SimilarlyNamedSiblingIsNotASubfolder) {
  // "/x/Scrap2" lies outside "/x/Scrap" even though its text starts the same.
  fs::create_directories(m_dir / "src/Scrap2");
  EXPECT_TRUE(Run(FileOp::Move, {m_dir / "src/Scrap"}, m_dir / "src/Scrap2", kSilent).ok());
}

class ReplaceTest : public ShellFileOperationTest {
 protected:
  void SetUp() override {
    ShellFileOperationTest::SetUp();
    WriteFile(m_dir / "dst/Scrap/Main.jpg", "old");
    WriteFile(m_dir / "dst/Scrap/keep.txt", "keep");
    WriteFile(m_dir / "src/Note.txt", "new note");
    WriteFile(m_dir / "dst/Note.txt", "old note");
  }
  FileOpResult MoveBoth(unsigned flags = 0) {
    return Run(FileOp::Move, {m_dir / "src/Scrap", m_dir / "src/Note.txt"}, m_dir / "dst", flags);
  }
};

TEST_F(ReplaceTest, YesMergesFoldersAndReplacesFiles) {
  m_ui.m_answers = {Answer::Yes, Answer::Yes};
  const auto r = MoveBoth();
  ASSERT_TRUE(r.ok()) << r.code;
  EXPECT_EQ(m_ui.m_questions, (std::vector<std::string>{"replace Scrap dst", "replace Note.txt dst"}));
  EXPECT_EQ(ReadFile(m_dir / "dst/Scrap/Main.jpg"), "jpeg");
  EXPECT_EQ(ReadFile(m_dir / "dst/Scrap/keep.txt"), "keep");
  EXPECT_EQ(ReadFile(m_dir / "dst/Scrap/Images/p.png"), "png");
  EXPECT_EQ(ReadFile(m_dir / "dst/Note.txt"), "new note");
  EXPECT_FALSE(fs::exists(m_dir / "src/Scrap"));
}

TEST_F(ReplaceTest, YesToAllAndNoConfirmationAskOnce) {
  m_ui.m_answers = {Answer::YesToAll};
  ASSERT_TRUE(MoveBoth().ok());
  EXPECT_EQ(m_ui.m_questions.size(), 1u);
  WriteFile(m_dir / "src/Note.txt", "third");
  ASSERT_TRUE(Run(FileOp::Copy, {m_dir / "src/Note.txt"}, m_dir / "dst", kNoConfirmation).ok());
  EXPECT_EQ(m_ui.m_questions.size(), 1u);
  EXPECT_EQ(ReadFile(m_dir / "dst/Note.txt"), "third");
}

TEST_F(ReplaceTest, NoSkipsTheItemAndMarksAborted) {
  m_ui.m_answers = {Answer::No, Answer::Yes};
  const auto r = MoveBoth();
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(r.aborted);
  EXPECT_EQ(ReadFile(m_dir / "dst/Scrap/Main.jpg"), "old");
  EXPECT_TRUE(fs::exists(m_dir / "src/Scrap"));
  EXPECT_EQ(ReadFile(m_dir / "dst/Note.txt"), "new note");
}

TEST_F(ReplaceTest, CancelStopsEverything) {
  m_ui.m_answers = {Answer::Cancel};
  const auto r = MoveBoth();
  EXPECT_EQ(r.code, kFileOpCancelled);
  EXPECT_TRUE(r.aborted);
  EXPECT_EQ(ReadFile(m_dir / "dst/Note.txt"), "old note");
  EXPECT_EQ(m_ui.m_questions.size(), 1u);
}

TEST_F(ReplaceTest, FileOntoFolderIsRefused) {
  WriteFile(m_dir / "other/Scrap", "a file named like the folder");
  const auto r = Run(FileOp::Move, {m_dir / "other/Scrap"}, m_dir / "dst", kNoConfirmation);
  EXPECT_EQ(r.code, kFileOpAlreadyExists);
  EXPECT_EQ(ReadFile(m_dir / "dst/Scrap/keep.txt"), "keep");
}

TEST_F(ShellFileOperationTest, MissingDestinationFolderIsAskedFor) {
  m_ui.m_answers = {Answer::No};
  auto r = Run(FileOp::Copy, {m_dir / "src/Scrap"}, m_dir / "new", 0);
  EXPECT_EQ(r.code, kFileOpCancelled);
  EXPECT_FALSE(fs::exists(m_dir / "new"));
  m_ui.m_answers = {Answer::Yes};
  r = Run(FileOp::Copy, {m_dir / "src/Scrap"}, m_dir / "new", 0);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(m_ui.m_questions, (std::vector<std::string>{"mkdir new", "mkdir new"}));
}

TEST_F(ShellFileOperationTest, ProgressCanCancel) {
  WriteFile(m_dir / "src/b.txt", "b");
  m_ui.m_progressLimit = 1;
  const auto r = Run(FileOp::Move, {m_dir / "src/Scrap", m_dir / "src/b.txt"}, m_dir / "dst", 0);
  EXPECT_EQ(r.code, kFileOpCancelled);
  EXPECT_TRUE(r.aborted);
  EXPECT_TRUE(fs::exists(m_dir / "dst/Scrap"));
  EXPECT_TRUE(fs::exists(m_dir / "src/b.txt"));
  EXPECT_EQ(m_ui.m_progress, (std::vector<std::string>{"0/2", "1/2"}));
}

}  // namespace
}  // namespace platform
