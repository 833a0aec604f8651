#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "capture/CaptureOptions.h"
#include "capture/DevToolsPipe.h"
#include "tests/support/TempDir.h"

using capture::ParseCommandLine;

TEST(CaptureOptions, DefaultsAndEveryOption) {
  auto parsed = ParseCommandLine({"https://example.jp/a"});
  ASSERT_TRUE(parsed.options);
  EXPECT_EQ(parsed.options->url, "https://example.jp/a");
  EXPECT_EQ(parsed.options->width, 1280u);
  EXPECT_EQ(parsed.options->maxHeight, 100000u);
  EXPECT_EQ(parsed.options->maxPictures, 500u);
  EXPECT_EQ(parsed.options->maxPictureBytes, 50ull << 20);
  EXPECT_TRUE(parsed.options->import);

  parsed = ParseCommandLine({"--width", "800", "--timeout=5", "--max-height", "60000",
                             "--no-import", "--output", "/tmp/x", "--max-pictures=3",
                             "--max-picture-mb", "2", "--browser=/opt/c", "example.jp"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->width, 800u);
  EXPECT_EQ(parsed.options->timeoutSeconds, 5u);
  EXPECT_EQ(parsed.options->maxHeight, 60000u);
  EXPECT_FALSE(parsed.options->import);
  EXPECT_EQ(parsed.options->outputDir, "/tmp/x");
  EXPECT_EQ(parsed.options->maxPictures, 3u);
  EXPECT_EQ(parsed.options->maxPictureBytes, 2ull << 20);
  EXPECT_EQ(parsed.options->browser, "/opt/c");
  EXPECT_EQ(parsed.options->url, "http://example.jp");
}

TEST(CaptureOptions, BadCommandLinesAreRefusedWithAReason) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"--width"},
           {"--width", "12x", "u"},
           {"--width", "-5", "u"},
           {"--width", "99999999999999999999", "u"},
           {"--timeout", "0", "u"},
           {"--max-height", "50", "u"},
           {"--frobnicate", "u"},
           {"a", "b"},
           {"  "},
       }) {
    const auto parsed = ParseCommandLine(args);
    EXPECT_FALSE(parsed.options) << testing::PrintToString(args);
    EXPECT_FALSE(parsed.error.empty()) << testing::PrintToString(args);
  }
  EXPECT_TRUE(ParseCommandLine({"u", "--help"}).help);
  // The address window needs no address on the command line.
  EXPECT_TRUE(ParseCommandLine({"--ask"}).options);
}

TEST(CaptureOptions, AddressesAreCompletedLikeAnAddressBar) {
  EXPECT_EQ(capture::NormaliseAddress(" example.jp/news \n"), "http://example.jp/news");
  EXPECT_EQ(capture::NormaliseAddress("localhost:8080/x"), "http://localhost:8080/x");
  EXPECT_EQ(capture::NormaliseAddress("/home/u/page.html"), "file:///home/u/page.html");
  EXPECT_EQ(capture::NormaliseAddress("HTTPS://Example.jp"), "HTTPS://Example.jp");
  EXPECT_EQ(capture::NormaliseAddress("data:text/html,hi"), "data:text/html,hi");
  EXPECT_EQ(capture::NormaliseAddress(""), "");
}

// File names are escaped where an address would read them differently, and a file named from
// the current folder is captured from there rather than looked up as a host.
TEST(CaptureOptions, LocalFilesBecomeEscapedFileAddresses) {
  EXPECT_EQ(capture::NormaliseAddress("/p/a#b?c.html"), "file:///p/a%23b%3Fc.html");
  EXPECT_EQ(capture::NormaliseAddress("/p/50%41 x.html"), "file:///p/50%2541%20x.html");
  EXPECT_EQ(capture::NormaliseAddress("/p/ページ.html"),
            "file:///p/%E3%83%9A%E3%83%BC%E3%82%B8.html");
  EXPECT_EQ(capture::NormaliseAddress("/p/(1)_a-b~c.html"), "file:///p/(1)_a-b~c.html");

  testsupport::TempDir dir;
  std::filesystem::create_directories(dir / "sub");
  testsupport::WriteFile(dir / "sub" / "今日 #1.html", "<p>x</p>");
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const std::string relative = capture::NormaliseAddress("sub/今日 #1.html");
  const std::string folder = capture::NormaliseAddress("sub");
  const std::string missing = capture::NormaliseAddress("sub/none.html");
  std::filesystem::current_path(before);
  EXPECT_EQ(relative, capture::NormaliseAddress((dir / "sub" / "今日 #1.html").string()));
  EXPECT_EQ(folder, "http://sub") << "only a file is taken from the current folder";
  EXPECT_EQ(missing, "http://sub/none.html");
}

TEST(CaptureOptions, HelpListsEveryExitCode) {
  const std::string help = capture::HelpText();
  for (const char* code : {"\n  0 ", "\n  1 ", "\n  2 ", "\n  3 ", "\n  4 ", "\n  5 ", "\n  6 ",
                           "\n  130 "})
    EXPECT_NE(help.find(code), std::string::npos) << code;
}

TEST(BrowserCommandLine, OfflineFlagsAlwaysAndNoSandboxOnlyForRoot) {
  const std::vector<std::string> user = capture::BrowserArguments("/tmp/p", false);
  const std::vector<std::string> root = capture::BrowserArguments("/tmp/p", true);
  for (const char* flag : {"--headless", "--disable-gpu", "--no-first-run",
                           "--disable-background-networking", "--disable-component-update",
                           "--disable-sync", "--remote-debugging-pipe", "--user-data-dir=/tmp/p"}) {
    EXPECT_NE(std::find(user.begin(), user.end(), flag), user.end()) << flag;
    EXPECT_NE(std::find(root.begin(), root.end(), flag), root.end()) << flag;
  }
  EXPECT_EQ(std::find(user.begin(), user.end(), "--no-sandbox"), user.end());
  EXPECT_NE(std::find(root.begin(), root.end(), "--no-sandbox"), root.end());
  // No debugging port is ever opened.
  for (const std::string& a : root) EXPECT_EQ(a.find("--remote-debugging-port"), std::string::npos);
}

TEST(BrowserCommandLine, TheProgramIsFoundByPathOrInPath) {
  testsupport::TempDir dir;
  const std::filesystem::path program = dir / "chromium-headless-shell";
  testsupport::WriteFile(program, "#!/bin/sh\n");
  testsupport::WriteFile(dir / "not-executable", "x");
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  EXPECT_EQ(capture::FindBrowser(program), program);
  EXPECT_EQ(capture::FindBrowser(dir / "not-executable"), "");
  EXPECT_EQ(capture::FindBrowser(dir / "missing"), "");
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", ("/nonexistent::" + dir.path().string()).c_str(), 1);
  EXPECT_EQ(capture::FindBrowser(""), program);
  setenv("PATH", "/nonexistent", 1);
  EXPECT_EQ(capture::FindBrowser(""), "");
  setenv("PATH", oldPath.c_str(), 1);
}
