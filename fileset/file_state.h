#pragma once

// Which set is live, read from the two marker files and files.txt.
enum class FileSetState { Modified, Original, Conflict };

// True when either marker is present.
bool IsFileSetInstalled();
// Conflict when both markers are present, or one beside an absent files.txt; else Original
// when MOD!files.txt is present, else Modified.
FileSetState QueryFileSetState();
