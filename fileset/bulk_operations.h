#pragma once

#include "fileset/failed_files.h"

// The operations on the whole table. None probes or shows anything; the ones that can
// lose the player's originals report what failed, the disk effect stays that of the
// plain renames, copies and deletes.

// Copies the live file of every row but the two switch-only ones to its ORI! name. Lists
// the rows whose copy failed although the live file existed.
void BackupOriginals(FailedFiles* failed);

// Phase 1 parks every live file under ORI!, phase 2 brings every MOD! file live; table
// order, files.txt last in each phase. Lists the rows left in the wrong set: phase 1
// failed for another reason than a missing source or a taken name, or phase 2 failed for
// another reason than a missing source.
void SwitchToModified(FailedFiles* failed);
// The mirror image: live to MOD!, then ORI! to live.
void SwitchToOriginal(FailedFiles* failed);

// Deletes the MOD! copy of every row but the two switch-only ones. Lists the MOD! copies
// whose delete failed for another reason than a missing file.
void RemoveModifiedSet(FailedFiles* failed);
