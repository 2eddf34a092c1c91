#pragma once

// The main window's buttons by number (the control id on Windows), for the program and for
// the tools that drive it from outside.

constexpr int STATUS_BUTTON = 0;
constexpr int INFOS_BUTTON = 1;
constexpr int UNINSTALL_BUTTON = 2;
