// The PDFRelay program on the display, answered with real keys: a typed path is answered
// through the INI file, a file another process is using keeps the dialog open with its
// message, and one that is free is deleted as soon as the user confirms replacing it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include <wx/display.h>

#include "app/shell/ui/Screenshot.h"
#include "platform/Profile.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
namespace profile = platform::profile;
using guitest::RealInput;

const std::string kTitle = "名前を付けてPDFファイルに保存";

// The relay started as the printer's monitor starts it.
class RelayProcess {
 public:
  RelayProcess(const fs::path& ini, const std::string& job, const std::string& name) {
    const std::string fields = "/? Sect\n" + job + "\n" + ini.string() + "\n" + name;
    m_pid = fork();
    if (m_pid == 0) {
      execl(CLIPWREN_PDFRELAY, CLIPWREN_PDFRELAY, fields.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~RelayProcess() {
    if (m_pid > 0 && !m_code) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }
  // The exit code once the relay has ended, waiting up to ms.
  std::optional<int> Wait(int ms = 15000) {
    guitest::WaitFor(
        [&] {
          int status = 0;
          if (m_pid > 0 && waitpid(m_pid, &status, WNOHANG) == m_pid)
            m_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
          return m_code.has_value();
        },
        ms);
    return m_code;
  }

 private:
  pid_t m_pid = -1;
  std::optional<int> m_code;
};

int CountWindows(const std::string& title) {
  FILE* list = popen("wmctrl -l", "r");
  if (!list) return 0;
  int count = 0;
  char line[4096];
  while (fgets(line, sizeof line, list))
    if (std::string(line).find(title) != std::string::npos) ++count;
  pclose(list);
  return count;
}

bool Type(const std::string& text) {
  return std::system(("xdotool type --delay 15 '" + text + "'").c_str()) == 0;
}

// Where the window of another process is on the screen; empty when there is none.
wxRect ScreenRectOf(const std::string& title) {
  const unsigned long id = RealInput::FindWindowByTitle(title);
  if (!id) return {};
  FILE* geometry = popen(("xdotool getwindowgeometry --shell " + std::to_string(id)).c_str(), "r");
  if (!geometry) return {};
  int x = 0, y = 0, w = 0, h = 0;
  char line[256];
  while (fgets(line, sizeof line, geometry)) {
    sscanf(line, "X=%d", &x);
    sscanf(line, "Y=%d", &y);
    sscanf(line, "WIDTH=%d", &w);
    sscanf(line, "HEIGHT=%d", &h);
  }
  pclose(geometry);
  return wxRect(x, y, w, h);
}

// A picture of a window of another process, as the screen shows it.
bool SaveScreenOf(const std::string& title, const wxString& file) {
  const wxRect rect = ScreenRectOf(title);
  if (rect.IsEmpty()) return false;
  const wxImage shot = GrabScreen(rect);
  return shot.IsOk() && shot.SaveFile(file, wxBITMAP_TYPE_PNG);
}

class RelayDialogTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (IsSkipped()) return;
    if (!m_input.Start()) GTEST_SKIP() << "wmctrl or xdotool missing";
    fs::create_directories(m_dir / "out");
  }
  std::string Get(const std::string& key) const {
    return profile::GetString(m_ini, "Sect", key, "<none>");
  }
  // Waits for the dialog and makes it the active window, ready for keys.
  void Activate() {
    ASSERT_TRUE(m_input.Activate(kTitle, 20000));
    guitest::Pump(300);  // the name field takes the focus once the window is mapped
  }
  void TypePath(const fs::path& path) {
    ASSERT_TRUE(RealInput::Key("ctrl+a"));
    ASSERT_TRUE(Type(path.string()));
  }
  // Return, again while nothing happens: the name field's completion list, when it pops up,
  // takes the first one.
  bool ReturnUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 6; ++i) {
      if (!RealInput::Key("Return")) return false;
      if (guitest::WaitFor(done, 1500)) return true;
    }
    return false;
  }

  RealInput m_input;
  testsupport::TempDir m_dir;
  fs::path m_ini = m_dir / "ZarboPDF.ini";
};

TEST_F(RelayDialogTest, TypedPathIsAnsweredAndRemembered) {
  ASSERT_TRUE(profile::WriteString(m_ini, "Sect", "OpenAfterSave", "0"));
  RelayProcess relay(m_ini, "Job1", "report.pdf");
  Activate();
  EXPECT_TRUE(SaveScreenOf(kTitle, guitest::ScreenshotPath("pdfrelay-dialog.png")));
  const fs::path chosen = m_dir / "out" / "typed.pdf";
  TypePath(chosen);
  ASSERT_TRUE(ReturnUntil([&] { return Get("Job1_RequestWritePrivateProfile") == "1"; }));
  EXPECT_EQ(relay.Wait(), 0);
  EXPECT_EQ(Get("Job1_PathName"), chosen.string());
  EXPECT_EQ(Get("Job1_Canceled"), "0");
  EXPECT_EQ(Get("Job1_Preview"), "0");
  EXPECT_EQ(Get("Job1_RequestWritePrivateProfile"), "1");
  EXPECT_EQ(Get("LastOpenFolder"), (m_dir / "out").string() + "/");

  // The next job's dialog starts in that folder: a bare name lands there.
  RelayProcess next(m_ini, "Job2", "second.pdf");
  Activate();
  ASSERT_TRUE(RealInput::Key("Return"));
  EXPECT_EQ(next.Wait(), 0);
  EXPECT_EQ(Get("Job2_PathName"), (m_dir / "out" / "second.pdf").string());
}

TEST_F(RelayDialogTest, FileInUseKeepsTheDialogOpenAndAFreeOneIsDeletedAtOnce) {
  const fs::path busy = m_dir / "out" / "busy.pdf";
  const fs::path free = m_dir / "out" / "free.pdf";
  testsupport::WriteFile(busy, "%PDF-1.5 old\n");
  testsupport::WriteFile(free, "%PDF-1.5 old\n");
  // A viewer that keeps the file open for writing.
  const pid_t holder = fork();
  if (holder == 0) {
    const int fd = open(busy.c_str(), O_WRONLY | O_APPEND);
    if (fd < 0) _exit(1);
    pause();
    _exit(0);
  }
  ASSERT_TRUE(
      guitest::WaitFor([&] { return fs::exists("/proc/" + std::to_string(holder) + "/fd/3"); }));

  ASSERT_TRUE(profile::WriteString(m_ini, "Sect", "OpenAfterSave", "0"));
  RelayProcess relay(m_ini, "Job1", "report.pdf");
  Activate();
  TypePath(busy);
  // The message over the dialog: two windows of that title.
  ASSERT_TRUE(ReturnUntil([&] { return CountWindows(kTitle) == 2; }));
  guitest::Pump(300);
  EXPECT_TRUE(SaveScreenOf(kTitle, guitest::ScreenshotPath("pdfrelay-file-in-use.png")));
  ASSERT_TRUE(RealInput::Key("Return"));
  ASSERT_TRUE(guitest::WaitFor([&] { return CountWindows(kTitle) == 1; }, 15000));
  guitest::Pump(500);
  EXPECT_EQ(CountWindows(kTitle), 1) << "the dialog stays open";
  EXPECT_TRUE(fs::exists(busy));
  EXPECT_EQ(Get("Job1_RequestWritePrivateProfile"), "<none>");

  // A file nobody uses: the replace question, then it is gone before the answer is written.
  Activate();
  TypePath(free);
  // The last Return answers the replace question.
  ASSERT_TRUE(ReturnUntil([&] { return !fs::exists(free); }));
  EXPECT_EQ(relay.Wait(), 0);
  EXPECT_FALSE(fs::exists(free));
  EXPECT_EQ(Get("Job1_PathName"), free.string());
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
}

TEST_F(RelayDialogTest, CheckedBoxOpensThePdfOnceTheMonitorHasWrittenIt) {
  // The desktop's opener, standing in for a PDF viewer: it writes down what it was given.
  const fs::path bin = m_dir / "bin";
  const fs::path opened = m_dir / "opened.txt";
  testsupport::WriteFile(bin / "xdg-open",
                         "#!/bin/sh\nprintf '%s' \"$1\" > '" + opened.string() + "'\n");
  fs::permissions(bin / "xdg-open", fs::perms::owner_all);
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (bin.string() + ":" + path).c_str(), 1);

  RelayProcess relay(m_ini, "Job1", "report.pdf");  // no OpenAfterSave: the box is checked
  setenv("PATH", path.c_str(), 1);
  Activate();
  const fs::path chosen = m_dir / "out" / "opened.pdf";
  TypePath(chosen);
  ASSERT_TRUE(ReturnUntil([&] { return Get("Job1_RequestWritePrivateProfile") == "1"; }));
  EXPECT_EQ(Get("Job1_Preview"), "1");
  EXPECT_EQ(Get("OpenAfterSave"), "1");
  guitest::Pump(600);  // a few polls find nothing yet
  EXPECT_FALSE(fs::exists(opened));
  testsupport::WriteFile(chosen, "%PDF-1.5\n");  // what the printer's monitor does
  EXPECT_EQ(relay.Wait(), 0);
  EXPECT_TRUE(guitest::WaitFor([&] { return fs::exists(opened); }));
  EXPECT_EQ(testsupport::ReadFile(opened), chosen.string());
}

// The check box's centre on the screen: the filled (checked) box is the only strong blue in
// the lower left part of the dialog.
std::optional<wxPoint> FindCheckedBox() {
  const wxImage screen = GrabScreen(wxRect(0, 0, 1400, 900));
  if (!screen.IsOk()) return std::nullopt;
  int left = screen.GetWidth(), right = -1, top = screen.GetHeight(), bottom = -1;
  for (int y = screen.GetHeight() / 2; y < screen.GetHeight(); ++y)
    for (int x = 0; x < screen.GetWidth() / 2; ++x)
      if (screen.GetBlue(x, y) > 200 && screen.GetRed(x, y) < 100 && screen.GetGreen(x, y) > 90 &&
          screen.GetGreen(x, y) < 180) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  if (right < 0 || right - left > 40 || bottom - top > 40) return std::nullopt;
  return wxPoint((left + right) / 2, (top + bottom) / 2);
}

TEST_F(RelayDialogTest, UncheckingTheBoxIsRememberedAndNothingIsAwaited) {
  RelayProcess relay(m_ini, "Job1", "report.pdf");  // no OpenAfterSave: the box is checked
  Activate();
  const std::optional<wxPoint> box = FindCheckedBox();
  ASSERT_TRUE(box) << "the checked box is on the screen";
  ASSERT_TRUE(RealInput::Click(box->x, box->y));
  ASSERT_TRUE(guitest::WaitFor([] { return !FindCheckedBox(); }));
  ASSERT_TRUE(RealInput::Key("alt+n"));  // back to the name field
  guitest::Pump(200);
  TypePath(m_dir / "out" / "never-written.pdf");
  ASSERT_TRUE(ReturnUntil([&] { return Get("Job1_RequestWritePrivateProfile") == "1"; }));
  EXPECT_EQ(relay.Wait(3000), 0) << "ends without waiting for the PDF";
  EXPECT_EQ(Get("Job1_Preview"), "0");
  EXPECT_EQ(Get("OpenAfterSave"), "0");
}

TEST_F(RelayDialogTest, ReadOnlyFileIsRefused) {
  const fs::path locked = m_dir / "out" / "locked.pdf";
  testsupport::WriteFile(locked, "%PDF-1.5 old\n");
  fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read);
  RelayProcess relay(m_ini, "Job1", "report.pdf");
  Activate();
  TypePath(locked);
  ASSERT_TRUE(ReturnUntil([&] { return CountWindows(kTitle) == 2; }));
  ASSERT_TRUE(RealInput::Key("Return"));
  ASSERT_TRUE(guitest::WaitFor([&] { return CountWindows(kTitle) == 1; }, 15000));
  guitest::Pump(300);
  EXPECT_TRUE(fs::exists(locked));
  EXPECT_EQ(Get("Job1_RequestWritePrivateProfile"), "<none>") << "the dialog is still open";
  ASSERT_TRUE(RealInput::Key("Escape"));
  EXPECT_EQ(relay.Wait(), 1);
}

// Left to the toolkit the chooser filled nearly all of a 1400 x 900 screen.
TEST_F(RelayDialogTest, OpensAtADialogSizeCentredOnTheScreen) {
  RelayProcess relay(m_ini, "Job1", "report.pdf");
  Activate();
  wxRect rect;
  ASSERT_TRUE(guitest::WaitFor(
      [&] {
        rect = ScreenRectOf(kTitle);
        return !rect.IsEmpty() && rect.width <= 800 && rect.height <= 600;
      },
      5000))
      << rect.width << " x " << rect.height;
  EXPECT_GE(rect.width, 500);
  EXPECT_GE(rect.height, 400);
  const wxRect screen = wxDisplay().GetGeometry();
  EXPECT_TRUE(screen.Contains(rect));
  EXPECT_NEAR(rect.x + rect.width / 2, screen.width / 2, 30);
  EXPECT_NEAR(rect.y + rect.height / 2, screen.height / 2, 40);
  ASSERT_TRUE(RealInput::Key("Escape"));
  EXPECT_EQ(relay.Wait(), 1);
}

TEST_F(RelayDialogTest, EscapeCancels) {
  ASSERT_TRUE(
      profile::WriteString(m_ini, "Sect", "LastOpenFolder", (m_dir / "out").string() + "/"));
  testsupport::WriteFile(m_dir / "out" / "earlier.pdf", "%PDF-1.5\n");
  RelayProcess relay(m_ini, "Job7", "report.pdf");
  Activate();
  // No OpenAfterSave stored: the box starts checked, and the dialog starts in the folder.
  guitest::Pump(500);
  const wxImage screen = GrabScreen(wxRect(0, 0, 1400, 900));
  EXPECT_TRUE(
      screen.IsOk() &&
      screen.SaveFile(guitest::ScreenshotPath("pdfrelay-dialog-checked.png"), wxBITMAP_TYPE_PNG));
  ASSERT_TRUE(RealInput::Key("Escape"));
  EXPECT_EQ(relay.Wait(), 1);
  EXPECT_EQ(Get("Job7_Canceled"), "1");
  EXPECT_EQ(Get("Job7_RequestWritePrivateProfile"), "1");
  EXPECT_EQ(Get("Job7_PathName"), "<none>");
  EXPECT_EQ(Get("LastOpenFolder"), (m_dir / "out").string() + "/");
}

}  // namespace
