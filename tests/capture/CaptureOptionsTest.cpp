#include <gtest/gtest.h>

#include "capture/CaptureOptions.h"

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

TEST(CaptureOptions, HelpListsEveryExitCode) {
  const std::string help = capture::HelpText();
  for (const char* code : {"\n  0 ", "\n  1 ", "\n  2 ", "\n  3 ", "\n  4 ", "\n  5 ", "\n  6 ",
                           "\n  130 "})
    EXPECT_NE(help.find(code), std::string::npos) << code;
}
