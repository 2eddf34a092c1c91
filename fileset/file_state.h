#pragma once

// Which set is live, read from the two marker files alone.
enum class FileSetState { Modified, Original, Conflict };

// True when either marker is present.
bool IsFileSetInstalled();
// Modified when MOD!files.txt is absent, else Original when ORI!files.txt is absent,
// else Conflict.
FileSetState QueryFileSetState();
