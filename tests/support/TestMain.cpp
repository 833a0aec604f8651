#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <sys/stat.h>

#include "tests/support/TempDir.h"

namespace testsupport {
namespace {
std::filesystem::path g_sandbox;
}

const std::filesystem::path& SandboxRoot() { return g_sandbox; }

}  // namespace testsupport

// Each test process gets its own sandbox, so tests can run in parallel and never see the
// developer's settings, Trash or documents.
int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::string pattern = (fs::temp_directory_path() / "clipwren-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 2;
  const fs::path root = pattern;
  testsupport::g_sandbox = root;
  const auto make = [&](const char* var, const char* sub) {
    const fs::path p = root / sub;
    std::error_code ec;
    fs::create_directories(p, ec);
    setenv(var, p.c_str(), 1);
  };
  make("HOME", "home");
  make("XDG_CONFIG_HOME", "home/.config");
  make("XDG_DATA_HOME", "home/.local/share");
  make("XDG_RUNTIME_DIR", "run");
  make("CLIPWREN_MACHINE_ROOT", "machine");
  make("TMPDIR", "tmp");
  chmod((root / "run").c_str(), 0700);

  ::testing::InitGoogleTest(&argc, argv);
  const int rc = RUN_ALL_TESTS();
  std::error_code ec;
  fs::remove_all(root, ec);
  return rc;
}
