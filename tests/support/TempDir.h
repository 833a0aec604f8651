#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// A fresh folder under the test's private TMPDIR, removed with everything in it when the
// object goes out of scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

 private:
  std::filesystem::path m_path;
};

// Writes bytes to a file, creating parent folders.
void WriteFile(const std::filesystem::path& file, const std::string& bytes);
// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);

// The per-process sandbox that TestMain set up (HOME and friends live below it).
const std::filesystem::path& SandboxRoot();

}  // namespace testsupport
