#include "tests/inventory.h"

#include "fileset/file_table.h"
#include "sample/sample_game.h"

#include <algorithm>
#include <iterator>

namespace {

// Game files match without regard to letter case.
std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The lower-case paths, '/' separated, of the rows that are backed up and removed, with
// prefix (or none) in front of their file names.
std::set<std::string> BackedUpRowPaths(const char* prefix) {
    std::set<std::string> paths;
    for (const ManagedFile& row : ManagedFileTable) {
        if (!row.switchOnly)
            paths.insert(Lower(Slashed(prefix ? Parked(row.livePath, prefix) : row.livePath)));
    }
    return paths;
}

bool IsIn(const std::set<std::string>& paths, const std::string& path) {
    return paths.count(Lower(path)) > 0;
}

Inventory Minus(const Inventory& a, const Inventory& b) {
    Inventory difference;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(),
                        std::inserter(difference, difference.end()));
    return difference;
}

bool Includes(const Inventory& whole, const Inventory& part) {
    return std::includes(whole.begin(), whole.end(), part.begin(), part.end());
}

Inventory ContentsAt(const FileTree& tree, const std::set<std::string>& paths) {
    Inventory contents;
    for (const auto& [path, content] : tree) {
        if (IsIn(paths, path))
            contents.insert(content);
    }
    return contents;
}

std::string Listed(const char* what, const Inventory& contents) {
    if (contents.empty())
        return "";
    std::string text = std::string(what) + " " + std::to_string(contents.size()) + ":";
    int shown = 0;
    for (const std::string& content : contents) {
        if (++shown > 5)
            return text + " ...;";
        text += " \"" + content.substr(0, 60) + "\"";
    }
    return text + ";";
}

std::string Changes(const Inventory& lost, const Inventory& added) {
    return Listed("lost", lost) + Listed(" added", added);
}

} // namespace

FileTree SnapshotTree(const std::filesystem::path& dir) {
    FileTree tree;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(dir, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file())
            tree[it->path().lexically_relative(dir).generic_u8string()] = ReadFile(it->path());
    }
    return tree;
}

Inventory InventoryOf(const FileTree& tree) {
    Inventory contents;
    for (const auto& entry : tree)
        contents.insert(entry.second);
    return contents;
}

std::string SwitchInventoryFault(const FileTree& before, const FileTree& after) {
    Inventory was = InventoryOf(before);
    Inventory is = InventoryOf(after);
    return Changes(Minus(was, is), Minus(is, was));
}

std::string BackupInventoryFault(const FileTree& before, const FileTree& after) {
    Inventory was = InventoryOf(before);
    Inventory is = InventoryOf(after);
    Inventory lost = Minus(was, is);
    Inventory added = Minus(is, was);
    if (!Includes(ContentsAt(before, BackedUpRowPaths(PREFIX_ORIGINAL)), lost))
        return "not an older ORI! copy: " + Changes(lost, added);
    if (!Includes(ContentsAt(before, BackedUpRowPaths(nullptr)), added))
        return "not a copy of a live file: " + Changes(lost, added);
    if (lost.size() > added.size())
        return "ORI! copies gone without a new copy: " + Changes(lost, added);
    return "";
}

std::string RemovalInventoryFault(const FileTree& before, const FileTree& after) {
    const std::set<std::string> parked = BackedUpRowPaths(PREFIX_MODIFIED);
    Inventory gone;
    for (const auto& [path, content] : before) {
        if (IsIn(parked, path) && after.count(path) == 0)
            gone.insert(content);
    }
    Inventory was = InventoryOf(before);
    Inventory is = InventoryOf(after);
    Inventory lost = Minus(was, is);
    Inventory added = Minus(is, was);
    if (lost != gone || !added.empty())
        return "expected to lose exactly the MOD! copies deleted: " + Changes(lost, added);
    return "";
}
