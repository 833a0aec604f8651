#include <dlfcn.h>
#include <sys/wait.h>
#include <spawn.h>

#include <csignal>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/radiobox.h>
#include <wx/timer.h>

#include <filesystem>
#include <functional>
#include <string>

#include "PRNINST/PrinterSetup.h"
#include "platform/PrintAdmin.h"
#include "platform/PrintComponents.h"
#include "platform/PrintSpooler.h"
#include "tests/support/GuiTest.h"
#include "tests/support/PrintMachine.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
namespace print = platform::print;

wxDialog* OpenDialog() {
  for (wxWindow* w : wxTopLevelWindows) {
    if (auto* d = dynamic_cast<wxDialog*>(w); d && d->IsModal()) return d;
  }
  return nullptr;
}

template <typename T>
T* Find(wxWindow* parent) {
  for (wxWindow* child : parent->GetChildren()) {
    if (auto* t = dynamic_cast<T*>(child)) return t;
  }
  return nullptr;
}

// The dialog runs its own modal loop, so the test acts from a timer inside that loop: once
// the dialog has been on the screen for a few ticks (painted), answer gets it.
class DialogWatcher : public wxTimer {
 public:
  explicit DialogWatcher(std::function<void(wxDialog&)> answer) : m_answer(std::move(answer)) {
    Start(50);
  }
  void Notify() override {
    wxDialog* dialog = OpenDialog();
    if (++m_ticks > 400) Stop();  // 20 s: the test fails on its own expectations
    if (!dialog || !dialog->IsShownOnScreen()) return;
    if (++m_shownTicks < 8) return;
    Stop();
    m_answer(*dialog);
  }

 private:
  std::function<void(wxDialog&)> m_answer;
  int m_ticks = 0;
  int m_shownTicks = 0;
};

// What the screen shows of a window, read back from the X server without leaving the
// dialog's loop.
bool SaveWindowPicture(wxWindow& window, const wxString& file) {
  window.Refresh();
  window.Update();
  const wxRect r = window.GetScreenRect();
  wxBitmap bitmap(r.width, r.height, 24);
  wxMemoryDC memory(bitmap);
  wxScreenDC screen;
  memory.Blit(0, 0, r.width, r.height, &screen, r.x, r.y);
  memory.SelectObject(wxNullBitmap);
  return bitmap.ConvertToImage().SaveFile(file, wxBITMAP_TYPE_PNG);
}

class PreferencesTest : public guitest::GuiTest {
 protected:
  // Runs the preferences of the driver's user-interface file; `answer` acts on the dialog
  // once it is on the screen.
  int Show(ZpDevMode& mode, std::function<void(wxDialog&)> answer) {
    void* lib = dlopen((testsupport::ComponentDir() / "ZarboPDFUI.dll").c_str(),
                       RTLD_NOW | RTLD_NODELETE);
    EXPECT_TRUE(lib) << dlerror();
    if (!lib) return -2;
    const auto fn = reinterpret_cast<ZpDocumentPropertiesFn>(dlsym(lib, ZP_DOCUMENT_PROPERTIES));
    DialogWatcher watcher(std::move(answer));
    return fn("Zarbo PDF Printer", &mode);
  }
};

TEST_F(PreferencesTest, AcceptedChoicesComeBackAndCancelKeepsTheSettings) {
  ZpDevMode mode{2, 8};
  const int rc = Show(mode, [](wxDialog& dialog) {
    EXPECT_EQ(dialog.GetTitle().utf8_string(), "Zarbo PDF Printer 印刷設定");
    auto* paper = Find<wxChoice>(&dialog);
    auto* orientation = Find<wxRadioBox>(&dialog);
    ASSERT_TRUE(paper && orientation);
    // It starts from the printer's settings.
    EXPECT_EQ(paper->GetStringSelection().utf8_string(), "A3 (297 x 420 mm)");
    EXPECT_EQ(orientation->GetSelection(), 1);
    EXPECT_TRUE(SaveWindowPicture(dialog, guitest::ScreenshotPath("printer-preferences.png")));
    orientation->SetSelection(0);
    paper->SetStringSelection("B5 (JIS) (182 x 257 mm)");
    dialog.EndModal(wxID_OK);
  });
  EXPECT_EQ(rc, 1);
  EXPECT_EQ(mode.orientation, 1);
  EXPECT_EQ(mode.paperSize, 13);

  const int cancelled = Show(mode, [](wxDialog& dialog) {
    Find<wxRadioBox>(&dialog)->SetSelection(1);
    dialog.EndModal(wxID_CANCEL);
  });
  EXPECT_EQ(cancelled, 0);
  EXPECT_EQ(mode.orientation, 1);
}

// The machine's rundll32.exe, started the way the main program starts it, opens the
// installed printer's preferences and stores what the user accepts with keys.
TEST_F(PreferencesTest, Rundll32StoresThePreferencesTheUserAccepts) {
  testsupport::ResetMachine();
  ASSERT_EQ(prninst::Install(testsupport::MakeInstallerFolder("prefs").string()), 0u);
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl or xdotool missing";

  const std::string exe = (testsupport::SetupToolsDir() / "rundll32.exe").string();
  std::vector<std::string> args = {exe, "printui.dll,PrintUIEntry", "/e", "/n", "Zarbo PDF Printer"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), environ), 0);
  ASSERT_TRUE(input.Activate("Zarbo PDF Printer 印刷設定", 20000));
  guitest::RealInput::Key("alt+l");
  guitest::Pump(200);
  guitest::RealInput::Key("Return");
  int status = -1;
  const bool ended = guitest::WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 20000);
  if (!ended) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  ASSERT_TRUE(ended);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  long error = 0;
  auto printer = print::Printer::Open("Zarbo PDF Printer", print::Access::Use, error);
  ASSERT_TRUE(printer) << error;
  EXPECT_EQ(printer->Settings().orientation, print::kLandscape);
}

}  // namespace
