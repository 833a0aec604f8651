#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/RegistryHive.h"
#include "tests/support/TempDir.h"

namespace platform {
namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

const std::string kApp = "Software\\タルンウィック\\クリップレン帳";

TEST(Registry, HiveFilesFollowTheSandboxedFolders) {
  EXPECT_EQ(Registry::HiveFile(Hive::CurrentUser),
            std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "clipwren" / "HKCU.reg");
  EXPECT_EQ(Registry::HiveFile(Hive::LocalMachine),
            std::filesystem::path(std::getenv("CLIPWREN_MACHINE_ROOT")) / "HKLM.reg");
}

TEST(Registry, MissingHiveIsEmpty) {
  const Registry reg(Hive::CurrentUser);
  EXPECT_FALSE(reg.KeyExists(kApp));
  EXPECT_EQ(reg.GetString(kApp + "\\Settings", "home_dir"), std::nullopt);
  EXPECT_TRUE(reg.SubKeys(kApp).empty());
  std::string name;
  EXPECT_EQ(reg.EnumKey("SYSTEM", 0, 260, name), kRegFileNotFound);
}

TEST(Registry, WritesReadableReg) {
  Registry reg(Hive::CurrentUser);
  ASSERT_TRUE(reg.SetString(kApp + "\\Settings", "home_dir", "C:\\Users\\\"a\"\nb"));
  ASSERT_TRUE(reg.SetDword(kApp + "\\SETTING", "LeftPanWidth", 250));
  ASSERT_TRUE(reg.SetString(kApp + "\\SETTING", "", "unnamed"));
  EXPECT_EQ(ReadFile(reg.File()),
            "; Clipwren registry hive, UTF-8\n"
            "\n[HKEY_CURRENT_USER]\n"
            "\n[HKEY_CURRENT_USER\\Software]\n"
            "\n[HKEY_CURRENT_USER\\Software\\タルンウィック]\n"
            "\n[HKEY_CURRENT_USER\\Software\\タルンウィック\\クリップレン帳]\n"
            "\n[HKEY_CURRENT_USER\\Software\\タルンウィック\\クリップレン帳\\Settings]\n"
            "\"home_dir\"=\"C:\\\\Users\\\\\\\"a\\\"\\nb\"\n"
            "\n[HKEY_CURRENT_USER\\Software\\タルンウィック\\クリップレン帳\\SETTING]\n"
            "\"LeftPanWidth\"=dword:000000fa\n"
            "@=\"unnamed\"\n");
  EXPECT_EQ(reg.GetString(kApp + "\\settings", "HOME_DIR"), "C:\\Users\\\"a\"\nb");
  EXPECT_EQ(reg.GetDword(kApp + "\\setting", "leftpanwidth"), 250u);
  EXPECT_EQ(reg.GetString(kApp + "\\setting", ""), "unnamed");
  // A value of the other type is not there for the caller.
  EXPECT_EQ(reg.GetString(kApp + "\\SETTING", "LeftPanWidth"), std::nullopt);
  EXPECT_EQ(reg.GetDword(kApp + "\\Settings", "home_dir"), std::nullopt);
}

TEST(Registry, KeysKeepCaseAndCreationOrder) {
  Registry reg(Hive::LocalMachine);
  const std::string printers = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
  for (const char* name : {"Zeta", "alpha", "Mid"}) ASSERT_TRUE(reg.CreateKey(printers + "\\" + name));
  ASSERT_TRUE(reg.CreateKey(printers + "\\ALPHA\\PrinterDriverData"));  // existing, other case
  ASSERT_TRUE(reg.SetDword("system\\currentcontrolset\\control\\print\\printers\\zeta", "A", 1));
  EXPECT_EQ(reg.SubKeys(printers), (std::vector<std::string>{"Zeta", "alpha", "Mid"}));
  EXPECT_EQ(reg.SubKeys(printers + "\\Alpha"), (std::vector<std::string>{"PrinterDriverData"}));
  EXPECT_TRUE(reg.KeyExists("system\\CURRENTCONTROLSET"));
  EXPECT_TRUE(reg.KeyExists(""));
}

struct EnumCase {
  std::size_t index;
  std::size_t bufferBytes;
  long result;
  std::string name;
};
class RegistryEnum : public ::testing::TestWithParam<EnumCase> {};
TEST_P(RegistryEnum, HostStyleResults) {
  Registry reg(Hive::LocalMachine);
  ASSERT_TRUE(reg.CreateKey("P\\abc"));
  ASSERT_TRUE(reg.CreateKey("P\\" + std::string(259, 'x')));
  std::string name = "junk";
  EXPECT_EQ(reg.EnumKey("P", GetParam().index, GetParam().bufferBytes, name), GetParam().result);
  EXPECT_EQ(name, GetParam().name);
}
INSTANTIATE_TEST_SUITE_P(
    Registry, RegistryEnum,
    ::testing::Values(EnumCase{0, 260, kRegSuccess, "abc"}, EnumCase{0, 4, kRegSuccess, "abc"},
                      EnumCase{0, 3, kRegMoreData, ""},
                      EnumCase{1, 260, kRegSuccess, std::string(259, 'x')},
                      EnumCase{1, 259, kRegMoreData, ""}, EnumCase{2, 260, kRegNoMoreItems, ""}));

TEST(Registry, DeleteValueAndKeyTree) {
  Registry reg(Hive::CurrentUser);
  ASSERT_TRUE(reg.SetString("A\\B\\C", "v", "1"));
  ASSERT_TRUE(reg.SetString("A\\B", "w", "2"));
  ASSERT_TRUE(reg.SetString("A\\D", "x", "3"));
  EXPECT_TRUE(reg.DeleteValue("a\\b", "W"));
  EXPECT_FALSE(reg.DeleteValue("A\\B", "w"));
  EXPECT_FALSE(reg.DeleteValue("A\\Nope", "w"));
  EXPECT_TRUE(reg.DeleteKey("a\\B"));
  EXPECT_FALSE(reg.KeyExists("A\\B\\C"));
  EXPECT_FALSE(reg.DeleteKey("A\\B"));
  EXPECT_EQ(reg.GetString("A\\D", "x"), "3");
}

TEST(Registry, ReadsHandWrittenFileAndSkipsBrokenLines) {
  testsupport::TempDir dir;
  WriteFile(dir / "HKLM.reg",
            "Windows-style header line\r\n"
            "[HKEY_LOCAL_MACHINE\\SYSTEM\\Printers\\Zarbo PDF Printer]\r\n"
            "\"Port\"=\"ZARBO:\"\r\n"
            "\"Attributes\"=dword:00000A40\r\n"
            "\"Bad\"=dword:123456789\r\n"
            "\"Unclosed=\"x\r\n"
            "noise\r\n"
            "[HKEY_LOCAL_MACHINE\\SYSTEM\\Printers\\Second]\r\n");
  const Registry reg(dir / "HKLM.reg");
  EXPECT_EQ(reg.GetString("SYSTEM\\Printers\\Zarbo PDF Printer", "Port"), "ZARBO:");
  EXPECT_EQ(reg.GetDword("SYSTEM\\Printers\\Zarbo PDF Printer", "Attributes"), 0xA40u);
  EXPECT_EQ(reg.GetDword("SYSTEM\\Printers\\Zarbo PDF Printer", "Bad"), std::nullopt);
  EXPECT_EQ(reg.SubKeys("SYSTEM\\Printers"),
            (std::vector<std::string>{"Zarbo PDF Printer", "Second"}));
}

TEST(Registry, RoundTripIsStable) {
  RegistryHive hive("HKEY_CURRENT_USER");
  auto* key = hive.Create("a\\]b[\\ c ");
  ASSERT_NE(key, nullptr);
  RegistryHive::SetValue(*key, "\"\\=@", std::string("x\r\n\"\\;[y]"));
  RegistryHive::SetValue(*key, "@", 7u);
  const std::string text = hive.Serialize();
  const RegistryHive back = RegistryHive::Parse(text, "HKEY_CURRENT_USER");
  EXPECT_EQ(back.Serialize(), text);
  const auto* found = back.Find("A\\]B[\\ c ");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(std::get<std::string>(*RegistryHive::FindValue(*found, "\"\\=@")), "x\r\n\"\\;[y]");
  EXPECT_EQ(std::get<std::uint32_t>(*RegistryHive::FindValue(*found, "@")), 7u);
  EXPECT_EQ(hive.Create("bad\nname"), nullptr);
  std::string deep;
  for (int i = 0; i < 512; ++i) deep += "k\\";
  EXPECT_NE(hive.Create(deep), nullptr);
  EXPECT_EQ(hive.Create(deep + "k"), nullptr);
}

std::string ValueName(int n) { return std::string("v").append(std::to_string(n)); }

TEST(Registry, ConcurrentWritersLoseNothing) {
  // Each change is a locked read-modify-write, so parallel writers never drop each other's
  // values.
  Registry reg(Hive::CurrentUser);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      Registry own(Hive::CurrentUser);
      for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(own.SetDword("K", ValueName(t * 10 + i), static_cast<unsigned>(i)));
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int n = 0; n < 40; ++n) EXPECT_EQ(reg.GetDword("K", ValueName(n)), n % 10u);
}

TEST(Registry, UnwritableHiveIsAccessDenied) {
  testsupport::TempDir dir;
  WriteFile(dir / "blocker", "a file where the folder should be");
  Registry reg(dir / "blocker" / "HKCU.reg");
  EXPECT_FALSE(reg.SetString("A", "b", "c"));
  EXPECT_FALSE(reg.CreateKey("A"));
}

}  // namespace
}  // namespace platform
