#include "app/shell/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

class CapturePathTest : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(CapturePathTest, Extracts) {
  EXPECT_EQ(shell::ExtractCapturePath(GetParam().first), GetParam().second) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CapturePathTest,
    ::testing::Values(
        std::pair{"", ""},
        std::pair{"/FromIE", ""},                     // the trailing blank is part of the switch
        std::pair{"/FromIE/tmp/cap", ""},
        std::pair{"/fromie /tmp/cap", ""},            // letter case matters
        std::pair{"/FromIE /tmp/cap", "/tmp/cap"},
        std::pair{"/FromIE \"/tmp/cap\"", "/tmp/cap"},
        std::pair{"/FromIE \" /tmp/with blank \"", "/tmp/with blank"},  // blanks inside quotes
        std::pair{"/FromIE    /tmp/cap   ", "/tmp/cap"},
        std::pair{"/FromIE \"\"/tmp/cap\"\"", "/tmp/cap"},  // every quote at either end
        std::pair{"-x /FromIE /tmp/キャプチャ", "/tmp/キャプチャ"},  // anywhere in the line
        std::pair{"/FromIE ", ""},
        std::pair{"/FromIE \"\"", ""},
        std::pair{"/FromIE a\"b", "a\"b"}));  // quotes inside stay

TEST(CommandLine, JoinArgumentsSkipsTheProgramName) {
  const char* argv[] = {"clipwren", "/FromIE", "/tmp/a b"};
  EXPECT_EQ(shell::JoinArguments(3, argv), "/FromIE /tmp/a b");
  EXPECT_EQ(shell::ExtractCapturePath(shell::JoinArguments(3, argv)), "/tmp/a b");
  EXPECT_EQ(shell::JoinArguments(1, argv), "");
}

}  // namespace
