#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace shell {

// Registry key names of the program's settings in the per-user hive.
inline constexpr std::string_view kCompanyKey = "タルンウィック";
inline constexpr std::string_view kApplicationKey = "クリップレン帳";
inline constexpr std::string_view kSettingsRoot = "Software\\タルンウィック\\クリップレン帳";

inline constexpr std::string_view kSectionSettings = "Settings";
inline constexpr std::string_view kSectionWindow = "SETTING";
inline constexpr std::string_view kSectionTree = "SETTING\\TREECTRL";

inline constexpr std::string_view kHomeDir = "home_dir";
inline constexpr std::string_view kEverNoteExePath = "EverNoteExePath";
inline constexpr std::string_view kSendText2EverNote = "SendText2EverNote";
inline constexpr std::string_view kFileNameType = "FileNameType";
inline constexpr std::string_view kUserDefinedName = "UserDefinedName";
inline constexpr std::string_view kX = "x";
inline constexpr std::string_view kY = "y";
inline constexpr std::string_view kCx = "cx";
inline constexpr std::string_view kCy = "cy";
inline constexpr std::string_view kLeftPanWidth = "LeftPanWidth";
inline constexpr std::string_view kShowCmd = "nShowCmd";
inline constexpr std::string_view kIsExpandAll = "IsExpandAll";

inline constexpr int kDefaultLeftPanWidth = 250;
inline constexpr int kDefaultIsExpandAll = 1;

// Show states as the host numbers them; stored in nShowCmd.
enum ShowCmd : int {
  kShowHide = 0,
  kShowNormal = 1,
  kShowMinimized = 2,
  kShowMaximized = 3,
  kShowNoActivate = 4,
  kShowShow = 5,
  kShowMinimize = 6,
  kShowMinNoActive = 7,
  kShowNa = 8,
  kShowRestore = 9,
  kShowDefault = 10,
  kShowForceMinimize = 11,
};

// How the main window comes up for a stored show state. Hidden and minimised states (and
// numbers that are no show state) give a normal window: a program that starts where nobody
// sees it looks as if it had not started.
enum class StartShow { Normal, Maximized, NoActivate };
[[nodiscard]] StartShow StartShowFor(std::optional<int> showCmd);

struct WindowPlacement {
  std::optional<int> x;  // nullopt: never stored, the window manager places the window
  std::optional<int> y;
  std::optional<int> cx;  // nullopt: the window system's default size
  std::optional<int> cy;
  int leftPanWidth = kDefaultLeftPanWidth;
  std::optional<int> showCmd;  // nullopt: the state the program was started with
};

struct EvernoteSettings {
  std::string exePath;
  int sendText = 0;      // 0/1
  int fileNameType = 0;  // 0–3
  std::string userDefinedName;
};

// The program's settings in the per-user registry hive, read and written the application
// framework's way: strings as string values, integers as DWORDs, each section a subkey of
// Software\タルンウィック\クリップレン帳.
class AppSettings {
 public:
  explicit AppSettings(platform::Registry registry);

  [[nodiscard]] std::string GetString(std::string_view section, std::string_view name,
                                      std::string_view defaultValue) const;
  [[nodiscard]] int GetInt(std::string_view section, std::string_view name, int defaultValue) const;
  bool WriteString(std::string_view section, std::string_view name, std::string_view value);
  bool WriteInt(std::string_view section, std::string_view name, int value);

  [[nodiscard]] std::string ReadHomeDir(std::string_view documentsFolder) const;
  bool WriteHomeDir(std::string_view saveFolder);

  // programFiles empty: the default Evernote path is empty too.
  [[nodiscard]] EvernoteSettings ReadEvernote(std::string_view programFiles) const;
  bool WriteEvernotePath(const EvernoteSettings& settings);
  bool WriteEvernoteFileName(const EvernoteSettings& settings);

  [[nodiscard]] WindowPlacement ReadPlacement() const;
  bool WritePlacement(const WindowPlacement& placement);

  [[nodiscard]] int ReadIsExpandAll() const;
  bool WriteIsExpandAll(int value);

  [[nodiscard]] static std::string KeyFor(std::string_view section);
  const platform::Registry& registry() const { return m_registry; }

 private:
  platform::Registry m_registry;
};

// Evernote's usual install location below the Program Files folder.
[[nodiscard]] std::string DefaultEvernotePath(std::string_view programFiles);

}  // namespace shell
