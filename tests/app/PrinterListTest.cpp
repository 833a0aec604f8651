#include "app/shell/PrinterList.h"

#include <gtest/gtest.h>

#include "platform/ErrorText.h"
#include "platform/Registry.h"
#include "tests/support/TempDir.h"

namespace {

using platform::Registry;

std::string PrinterKey(const std::string& name) {
  return std::string(shell::kPrintersKey) + "\\" + name;
}

TEST(PrinterList, NoPrintersKeyMeansNoPrinters) {
  testsupport::TempDir dir;
  const shell::PrinterList list = shell::ReadPrinterList(Registry(dir / "HKLM.reg"));
  EXPECT_TRUE(list.names.empty());
  EXPECT_EQ(list.error, 0);
}

TEST(PrinterList, SixtyPrintersGiveTheFirstFiftyInRegistryOrder) {
  testsupport::TempDir dir;
  Registry machine(dir / "HKLM.reg");
  for (int i = 0; i < 60; ++i) {
    ASSERT_TRUE(machine.CreateKey(PrinterKey("Printer " + std::to_string(60 - i))));
  }
  const shell::PrinterList list = shell::ReadPrinterList(machine);
  ASSERT_EQ(list.names.size(), 50u);
  EXPECT_EQ(list.names.front(), "Printer 60");
  EXPECT_EQ(list.names.back(), "Printer 11");
  EXPECT_EQ(list.error, 0);
}

TEST(PrinterList, ATooLongNameStopsWithTheErrorAndKeepsWhatWasRead) {
  testsupport::TempDir dir;
  Registry machine(dir / "HKLM.reg");
  ASSERT_TRUE(machine.CreateKey(PrinterKey("Zarbo PDF Printer")));
  ASSERT_TRUE(machine.CreateKey(PrinterKey(std::string(259, 'p'))));  // fits with its zero
  ASSERT_TRUE(machine.CreateKey(PrinterKey(std::string(260, 'q'))));  // does not
  ASSERT_TRUE(machine.CreateKey(PrinterKey("After")));
  const shell::PrinterList list = shell::ReadPrinterList(machine);
  ASSERT_EQ(list.names.size(), 2u);
  EXPECT_EQ(list.names[0], "Zarbo PDF Printer");
  EXPECT_EQ(list.names[1].size(), 259u);
  EXPECT_EQ(list.error, platform::kRegMoreData);
  EXPECT_EQ(platform::ErrorText(list.error), "More data is available.");
}

}  // namespace
