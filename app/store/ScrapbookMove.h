#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "platform/ShellFileOperation.h"

// Putting the whole scrapbook into another save folder: moving or copying the home folder
// there with the shell file operation, and checking that everything arrived before the
// program lets go of the old place.
namespace store {

enum class ScrapbookTransfer { Move = 0, Copy = 1, Leave = 2 };

// Why a new save folder cannot take the scrapbook, or empty when it can: the home folder
// cannot be moved or copied into itself or below itself.
[[nodiscard]] std::string RefuseSaveFolder(const std::filesystem::path& newSaveFolder,
                                           const std::filesystem::path& oldHome);

// Every file and folder below root (links as links), relative to root, with the file sizes
// (-1 for folders and links).
using Manifest = std::map<std::string, std::int64_t>;
[[nodiscard]] Manifest TakeManifest(const std::filesystem::path& root);
// How many entries of sent are missing below root, or differ in size or kind.
[[nodiscard]] std::size_t CountMissing(const Manifest& sent, const std::filesystem::path& root);

struct TransferResult {
  // The program may switch to the new home folder: the transfer was not wanted, or
  // everything arrived.
  bool switchHome = false;
  // What to tell the user when it may not (empty otherwise).
  std::string message;
};

// Moves or copies oldHome into newSaveFolder (which then holds the home folder of the same
// name) through the shell file operation, asking ui about conflicts and showing progress, and
// compares what arrived with what was sent. A failed, cancelled or partial transfer keeps the
// program on the old home folder and explains where the files are.
[[nodiscard]] TransferResult TransferScrapbook(ScrapbookTransfer how,
                                               const std::filesystem::path& oldHome,
                                               const std::filesystem::path& newSaveFolder,
                                               platform::ShellUi& ui);

}  // namespace store
