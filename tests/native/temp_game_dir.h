#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "sample/sample_game.h"

// A fresh game directory under /tmp for each test, which the primitives work in; removed
// afterwards. Paths given to the helpers are relative and backslash separated, like the
// table's; they are used with their exact letter case.
class TempGameDir : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Starts over in a new empty directory, for table-driven cases.
    void FreshDirectory();

    // The host path of a relative game path.
    std::string HostPath(const std::string& relative) const;
    // Creates the missing directories on the way.
    void WriteGameFile(const std::string& relative, const std::string& content) const;
    void MakeGameDirectory(const std::string& relative) const;
    bool GameFileExists(const std::string& relative) const;
    // The content of a regular file, or "<absent>" when there is none.
    std::string ReadGameFile(const std::string& relative) const;
    // Every regular file under the game directory by its Key.
    std::map<std::string, std::string> Snapshot() const;
    // A relative game path as Snapshot names it.
    std::string Key(const std::string& relative) const;

    std::string root; // ends in '/'
};

constexpr char ABSENT[] = "<absent>";
