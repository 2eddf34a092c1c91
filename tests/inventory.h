#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>

// Proof that nothing is lost: the contents of a game directory's files, each as often as
// it occurs. Files may move; a content must not vanish.

// A directory's regular files: relative path, '/' separated, to content.
typedef std::map<std::string, std::string> FileTree;
typedef std::multiset<std::string> Inventory;

// Every regular file below dir.
FileTree SnapshotTree(const std::filesystem::path& dir);
Inventory InventoryOf(const FileTree& tree);
