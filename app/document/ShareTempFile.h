#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The temporary files a scrap is handed to other programs through: "<base>.jpg", then
// "<base>1.jpg" … "<base>9999.jpg" in the temporary folder; the first one that can be used is
// taken. The program never deletes them, so sharing a scrap again reuses its first name.
namespace share {

inline constexpr int kLastCandidateNumber = 9999;

// Candidate n (0 gives the name without a number).
[[nodiscard]] std::filesystem::path TempCandidate(const std::filesystem::path& tempFolder,
                                                  std::string_view baseName, int n,
                                                  std::string_view extension);

// Whether a candidate can be used, and if so prepares it: a name that does not exist is
// created (empty, private to the user), an existing file of the user's own that can be
// written and that no other program holds a lock on is emptied. Anything else (a folder, a
// link, a file of another user, a read-only or locked file) is left alone and not usable.
[[nodiscard]] bool TakeCandidate(const std::filesystem::path& candidate);

struct TempFileChoice {
  std::filesystem::path path;  // the first usable candidate; the last one when none is
  bool usable = false;
};
// The first usable candidate for a base name, prepared by TakeCandidate.
[[nodiscard]] TempFileChoice ChooseTempFile(const std::filesystem::path& tempFolder,
                                            std::string_view baseName,
                                            std::string_view extension);

}  // namespace share
