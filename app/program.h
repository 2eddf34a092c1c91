#pragma once

#include "fileset/failure_policy.h"
#include "fileset/file_state.h"

// The program's entry, its start decision and its single way out.

// Probes the markers and files.txt and takes the route they decide. Never returns.
[[noreturn]] void MakeStartDecision();
// The program does not stand in a game directory: tells so, then ends.
[[noreturn]] void ShowGameDirectoryError();
// Takes the lock that lets one copy of the program at a time work in its directory,
// until the process ends; false when another copy holds it.
bool LockGameDirectory();
// Another copy works in this directory: tells so, then ends.
[[noreturn]] void ShowAlreadyRunning();
// Closes every window, releases the private heap and ends the process with exit code 0.
[[noreturn]] void EndProgram();
// Ends the process with exit code 0; the last step of EndProgram.
[[noreturn]] void EndProcess();

// The main window and its commands.
[[noreturn]] void RunMainWindow();
// Shows on the state button the file set the disk holds. A command scans before it reports,
// so that the caption behind its message is true. Answers the state shown.
FileSetState ScanStatus();
// Switches the set the state button's caption names, then shows the state found on disk.
void ToggleFileSet();
// Ends the program unless it was declined or stopped before the modified set went.
void Uninstall();

// First start: true when the directory was prepared, false when cancelled, refused or
// stopped.
bool RunFirstInstallation();
// Puts the setup files into the absent live names of files.txt and filelist.pak.
void PutSetupFilesInPlace(FailedFiles* failed);

// Finishes or undoes what a run cut short left in the directory, and reports what it could
// not; false then.
bool RepairInterruptedWork();
// Reports both markers beside a live files.txt under firstLine, with the advice which one to
// move out or how to tell; false when they are not both there.
bool ReportStrayMarkers(const char* firstLine);
