#pragma once

#include <cstdint>
#include <string>

// A scrapbook for the full-text search benchmark: `folders` top folders of `subfolders`
// folders of `scraps` scraps each, every folder sorted by name (so the walk order is known),
// each scrap with a Content.txt of about `pageBytes` bytes of UTF-16LE text, Japanese and ASCII
// mixed. The needle is written only into the last scrap in walk order (returned in *lastScrap).
// Returns the total bytes of page text written.
std::uint64_t GenerateSearchScrapbook(const std::string& home, int folders, int subfolders,
                                      int scraps, std::size_t pageBytes, const std::string& needle,
                                      std::string* lastScrap);
