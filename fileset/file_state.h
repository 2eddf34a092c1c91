#pragma once

// Which set is live, read from the markers and files.txt.
enum class FileSetState { Modified, Original, Conflict, Unfinished };

// True when a marker is present, or an uninstallation did not finish.
bool IsFileSetInstalled();
// Unfinished while DEI!files.txt is present; else Conflict when both markers are present, or
// one beside an absent files.txt; else Original when MOD!files.txt is present, else Modified.
FileSetState QueryFileSetState();
