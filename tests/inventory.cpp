#include "tests/inventory.h"

#include "sample/sample_game.h"

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
