#pragma once

// The name of the lock on a game directory, for LockGameDirectory and for tests that hold it.

constexpr unsigned LOCK_NAME_SIZE = 64;

// directory: a full path in UTF-8. Named for the directory's identity (volume serial and file
// index) rather than its spelling, so that letter case, \\?\, short names and drive mappings
// all lead to the same name; a hash of the spelling only where the identity cannot be read.
// In the Global\ namespace, so that copies in other sessions see it too.
void DirectoryLockName(const char* directory, char (&name)[LOCK_NAME_SIZE]);
