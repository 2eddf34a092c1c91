#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>

// Proof that nothing is lost: the contents of a game directory's files, each as often as
// it occurs, and what each bulk operation may do to them. Files may move; a content must
// not appear, vanish or change unless the operation exists to copy or delete it.

// A directory's regular files: relative path, '/' separated, to content.
typedef std::map<std::string, std::string> FileTree;
typedef std::multiset<std::string> Inventory;

// Every regular file below dir.
FileTree SnapshotTree(const std::filesystem::path& dir);

Inventory InventoryOf(const FileTree& tree);

// Each answers an empty text when after may follow from before, else what went wrong.
// A switch moves contents but never adds, loses or changes one.
std::string SwitchInventoryFault(const FileTree& before, const FileTree& after);
// An installation adds copies of live files of the backed-up rows and may replace their
// older ORI! copies, at most one for each copy added; nothing else changes.
std::string BackupInventoryFault(const FileTree& before, const FileTree& after);
// A removal takes away exactly the MOD! copies of the backed-up rows that are gone.
std::string RemovalInventoryFault(const FileTree& before, const FileTree& after);
