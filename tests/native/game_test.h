#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "fileset/file_primitives.h"
#include "tests/inventory.h"
#include "ui/window.h"

// The native tests: real files in a fresh temporary game directory, and a scripted screen
// that records every message and window call instead of showing it.

struct ShownMessage {
    std::string title;
    std::string text;
    unsigned style;
};

struct Screen {
    std::vector<ShownMessage> messages;
    std::deque<int> answers;                // then every box is answered with OK
    std::deque<std::pair<int, int>> events; // event code and control; then a close request
    bool mainWindow = false;
    std::string caption; // of the state button
    bool stateDisabled = false;
};

extern Screen screen;

class GameTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Starts over in a new empty game directory, for table-driven cases.
    void Fresh();

    // Paths are relative and backslash separated, like the table's.
    void Write(const std::string& path, const std::string& content) const;
    void MakeDirectory(const std::string& path) const;
    std::string Read(const std::string& path) const; // ABSENT when no file is there
    FileTree Tree() const;

    // Runs the program from its start decision on the scripted screen; answers whether
    // it ended.
    bool Start();
    void Click(int control) { screen.events.push_back({EVENT_CONTROL, control}); }
    // The texts of the boxes shown, in order.
    std::vector<std::string> Texts() const;

    std::filesystem::path root;
};

inline constexpr char ABSENT[] = "<absent>";

struct Fault {
    FileOperation call;
    std::string path; // as the table writes it
    FileFailure reason;
};
// Fails every such call on that path with that reason, without touching the disk.
void InjectFaults(const std::vector<Fault>& faults);
