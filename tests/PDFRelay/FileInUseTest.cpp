#include "PDFRelay/FileInUse.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "tests/support/TempDir.h"

namespace pdfrelay {
namespace {

// Another process that does something to the file and keeps it that way until destroyed.
class OtherProcess {
 public:
  explicit OtherProcess(const std::function<bool()>& hold) {
    int ready[2], release[2];
    if (pipe(ready) != 0 || pipe(release) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      close(ready[0]);
      close(release[1]);
      const char ok = hold() ? 1 : 0;
      (void)!write(ready[1], &ok, 1);
      char c;
      (void)!read(release[0], &c, 1);  // ends when the parent closes its end
      _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    m_release = release[1];
    char ok = 0;
    m_ready = read(ready[0], &ok, 1) == 1 && ok == 1;
    close(ready[0]);
  }
  ~OtherProcess() {
    if (m_release >= 0) close(m_release);
    if (m_pid > 0) waitpid(m_pid, nullptr, 0);
  }
  bool ready() const { return m_ready; }

 private:
  pid_t m_pid = -1;
  int m_release = -1;
  bool m_ready = false;
};

class FileInUseTest : public ::testing::Test {
 protected:
  testsupport::TempDir m_dir;
  std::filesystem::path m_pdf = m_dir / "report.pdf";
  void SetUp() override { testsupport::WriteFile(m_pdf, "%PDF-1.5\nold\n"); }
  const char* Pdf() const { return m_pdf.c_str(); }
};

TEST_F(FileInUseTest, OpenForWritingByAnotherProcessIsInUse) {
  for (int mode : {O_WRONLY, O_RDWR, O_WRONLY | O_APPEND}) {
    OtherProcess other([&] { return open(Pdf(), mode) >= 0; });
    ASSERT_TRUE(other.ready());
    EXPECT_TRUE(IsFileInUse(m_pdf)) << mode;
    EXPECT_EQ(DeleteUnlessInUse(m_pdf), ReplaceResult::kInUse);
    EXPECT_TRUE(std::filesystem::exists(m_pdf));
  }
}

TEST_F(FileInUseTest, LockedByAnotherProcessIsInUse) {
  const std::function<bool()> locks[] = {
      [&] { return flock(open(Pdf(), O_RDONLY), LOCK_SH) == 0; },
      [&] {  // a read lock on a few bytes in the middle, taken through a read-only open
        struct flock range {};
        range.l_type = F_RDLCK;
        range.l_whence = SEEK_SET;
        range.l_start = 4;
        range.l_len = 2;
        return fcntl(open(Pdf(), O_RDONLY), F_SETLK, &range) == 0;
      },
  };
  for (const auto& lock : locks) {
    OtherProcess other(lock);
    ASSERT_TRUE(other.ready());
    EXPECT_TRUE(IsFileInUse(m_pdf));
  }
  EXPECT_FALSE(IsFileInUse(m_pdf));  // every holder has ended
}

TEST_F(FileInUseTest, ReadersAndNamesakesDoNotCount) {
  // A viewer that only reads the file leaves it free, as does another file open for writing.
  const auto other = m_dir / "other.pdf";
  testsupport::WriteFile(other, "x");
  OtherProcess reader(
      [&] { return open(Pdf(), O_RDONLY) >= 0 && open(other.c_str(), O_WRONLY) >= 0; });
  ASSERT_TRUE(reader.ready());
  // Our own handles are not another process's.
  const int own = open(Pdf(), O_WRONLY);
  EXPECT_FALSE(IsFileInUse(m_pdf));
  EXPECT_EQ(DeleteUnlessInUse(m_pdf), ReplaceResult::kDeleted);
  EXPECT_FALSE(std::filesystem::exists(m_pdf));
  close(own);
}

TEST_F(FileInUseTest, ReadOnlyFilesAndFoldersWithoutWriteAccess) {
  EXPECT_FALSE(IsReadOnlyFile(m_pdf));
  std::filesystem::permissions(
      m_pdf, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  EXPECT_TRUE(IsReadOnlyFile(m_pdf)) << "read-only even for a user who may replace it";
  EXPECT_FALSE(IsReadOnlyFile(m_dir / "none.pdf"));
  EXPECT_FALSE(IsReadOnlyFile(m_dir.path())) << "a folder is not a read-only file";

  EXPECT_TRUE(CanCreateFilesIn(m_dir.path()));
  EXPECT_FALSE(CanCreateFilesIn(m_dir / "missing"));
  EXPECT_FALSE(CanCreateFilesIn(m_pdf));
  const auto locked = m_dir / "locked";
  std::filesystem::create_directory(locked);
  std::filesystem::permissions(
      locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (geteuid() != 0) EXPECT_FALSE(CanCreateFilesIn(locked));  // root may write anywhere
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
}

TEST_F(FileInUseTest, MissingFileIsAcceptedWithoutDeleting) {
  EXPECT_EQ(DeleteUnlessInUse(m_dir / "none.pdf"), ReplaceResult::kNotDeleted);
  EXPECT_FALSE(IsFileInUse(m_dir / "none.pdf"));
}

}  // namespace
}  // namespace pdfrelay
