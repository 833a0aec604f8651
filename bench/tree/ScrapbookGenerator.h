#pragma once

#include <string>

// Writes a scrapbook below home: `folders` top folders, each with `subfolders` folders, each
// holding `scraps` scrap folders (Main.jpg, Content.txt and an Images folder with one picture).
// Every third top folder has a Scrap.ini ordering its children by name. Returns how many tree
// items (folders and scraps, home not counted) it made.
int GenerateScrapbook(const std::string& home, int folders, int subfolders, int scraps);
