#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <tuple>
#include <vector>

#include "app/main_window_controls.h"
#include "app/program.h"
#include "fileset/file_primitives.h"
#include "sample/sample_game.h"
#include "tests/inventory.h"
#include "ui/message.h"
#include "ui/window.h"

// The native tests: real files in a fresh temporary game directory, and a scripted screen
// that records every message and the state button instead of showing them.

// Title, text and style of a message box.
typedef std::tuple<std::string, std::string, unsigned> ShownMessage;

struct Screen {
    std::vector<ShownMessage> messages;
    std::vector<std::string> captionsBehind; // the state button's, as each box was shown
    std::vector<int> commandsBehind;         // how many clicks came before each box
    int answer = ANSWER_OK; // to the first box; every later one is answered with OK
    // Where set, answers every box with OK and Cancel in place of answer.
    int (*decide)(const std::string& text) = nullptr;
    int unownedAnswer = 0;  // to a box shown again without owner: not shown either
    int unowned = 0;        // boxes shown again without owner
    std::deque<int> clicks; // buttons of the main window; then a close request
    int command = 0;        // clicks handed out so far
    bool mainWindow = false;
    bool closed = false; // the player closed the main window
    std::string caption; // of the state button
    bool stateDisabled = false;
};

extern Screen screen;

struct Fault {
    FileOperation call;
    std::string path; // as the table writes it
    FileFailure reason;
    std::string target = "";  // empty: any
    int times = -1;           // how many such calls fail; -1: all
    std::string touched = ""; // a file that another program rewrites as the call fails
};
// Fails every such call on that path (and target) with that reason, without touching the
// disk.
void InjectFaults(const std::vector<Fault>& faults);

inline constexpr char ABSENT[] = "<absent>";

// What the tests name most.
inline constexpr SampleLayout FRESH = SampleLayout::Fresh; // with the setup files
inline constexpr SampleLayout ORIGINAL = SampleLayout::Original;
inline constexpr SampleLayout MODIFIED = SampleLayout::Modified;
inline constexpr int STATE = STATUS_BUTTON;
inline constexpr int UNINSTALL = UNINSTALL_BUTTON;
inline constexpr char HANDLING[] = "common\\data\\handling.dat";
inline constexpr char PARKED_HANDLING[] = "common\\data\\ORI!handling.dat";
inline constexpr char MODIFIED_HANDLING[] = "common\\data\\MOD!handling.dat";

// The player's guide, as released: code page 1252, CRLF line ends.
std::string Liesmich();

class GameTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Starts over in a new empty game directory, for table-driven cases.
    void Fresh() {
        TearDown();
        SetUp();
    }

    // Paths are relative and backslash separated, like the table's. A path ending in a
    // backslash is a directory.
    void Write(const std::string& path, const std::string& content) const;
    // Each "path" is written with itself as content, each "-path" removed, each "@path"
    // made a link to a file outside the game directory.
    void Change(const std::vector<std::string>& changes) const;
    std::string Read(const std::string& path) const; // ABSENT when no file is there
    FileTree Tree() const { return SnapshotTree(root); }
    // Beside the game directory: where the files that links lead to lie.
    std::filesystem::path Outside() const { return root.string() + "-outside"; }

    // Runs the program from its start decision, or from another entry, on the scripted
    // screen; answers whether it ended.
    bool Start(void (*entry)() = MakeStartDecision);

    std::filesystem::path root;
};
