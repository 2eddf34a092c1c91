#pragma once

#include "fileset/failure_policy.h"

// The operations on the whole table. None shows anything; each lists what it could not do.
// They probe only to tell a real failure from a file that is simply not there, and where
// a delete could lose the last copy of a file.

// Copies the live file of every row but the two switch-only ones to its ORI! name. Lists
// the rows whose copy failed although the live file existed.
void BackupOriginals(FailedFiles* failed);

// Phase 1 parks files.txt, then every other live file, under ORI!; phase 2 brings every other
// MOD! file live, then files.txt, but only when no other row failed: until then both
// markers lie on disk. Starts only from a live files.txt: when it cannot be parked, nothing
// else moves. Lists the rows left in the wrong set: phase 1 failed for another reason than
// a missing source or a taken name, or phase 2 failed for another reason than a missing
// source (a taken live name names the parked copy in its way).
void SwitchToModified(FailedFiles* failed);
// The mirror image: live to MOD!, then ORI! to live.
void SwitchToOriginal(FailedFiles* failed);
// SwitchToOriginal for a switch cut short or stopped: an absent files.txt counts as parked.
// It never replaces a file, so it completes or undoes any switch toward the originals.
void RestoreOriginals(FailedFiles* failed);
// Phase 2 of SwitchToOriginal alone, files.txt excepted: every ORI! copy whose live name is
// free comes back. A taken live name is not listed.
void BringParkedOriginalsLive(FailedFiles* failed);

// Deletes the MOD! copy of every row but the two switch-only ones whose live name holds a
// file. Lists the MOD! copies whose delete failed for another reason than a missing file,
// and the ones kept beside a live name that holds no file.
void RemoveModifiedSet(FailedFiles* failed);
