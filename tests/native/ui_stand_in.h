#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

// A scripted screen for the native flow tests: records every message and window call,
// answers from a script, and turns the end of the process into an exception.

struct ShownMessage {
    std::string title;
    std::string text;
    unsigned style;
};

struct ScriptedEvent {
    int code;
    int control;
};

struct UiScript {
    std::vector<ShownMessage> messages;
    std::deque<int> answers;                            // ANSWER_OK once they run out
    std::function<void(const ShownMessage&)> onMessage; // runs while a box is "open"
    std::deque<ScriptedEvent> events;                   // EVENT_CLOSE once they run out
    int windowsCreated;
    int windowX, windowY, windowWidth, windowHeight;
    unsigned long windowStyle;
    std::string windowTitle;
    std::string captions[3];
    bool disabled[3];
    bool windowsOpen;
};

UiScript& Ui();
// A fresh script, a fresh private heap and message-text work area.
void ResetUi();

// Thrown by the stand-in's end of the process.
struct ProgramEnded {};

// Runs a flow procedure; true when it ended the program.
bool EndsProgram(const std::function<void()>& flow);

// Scripted screen size.
constexpr int SCREEN_WIDTH = 1024;
constexpr int SCREEN_HEIGHT = 768;
