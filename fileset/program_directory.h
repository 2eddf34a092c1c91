#pragma once

// Finds the directory of the running program file, in full, and makes it the directory
// every file primitive works in. False when it cannot be determined.
bool LocateProgramDirectory();
