#pragma once

#include "fileset/failure_policy.h"

// The operations on the whole table. None shows anything; each lists what it could not do.
// They probe only to tell a real failure from a file that is simply not there, and where
// a delete could lose the last copy of a file.

// The rows whose ORI! copy a backup wrote.
struct BackupCopies {
    bool made[MANAGED_FILE_COUNT];
};

// Copies the live file of every row but the two switch-only ones to its ORI! name. Lists
// the rows whose copy failed although the live file existed.
void BackupOriginals(FailedFiles* failed, BackupCopies* copies);
// Removes the copies a backup made, each only while it equals its live file, so that an
// installation that stops gives back the room it took and leaves no copy of a file that is
// still live.
void RemoveBackupCopies(FailedFiles* failed, const BackupCopies& copies);

// Before it moves anything, looks at every row: where a copy already lies under ORI! (in a
// settled directory there is none) or a name is no plain file, it lists each such name and
// renames nothing. Then phase 1 parks files.txt, then every other live file, under ORI!;
// phase 2 brings every other MOD! file live, then files.txt, but only when no other row
// failed: until then both markers lie on disk. Lists the rows left in the wrong set: phase 1
// failed for another reason than a missing source, or phase 2 failed for another reason
// than a missing source (a taken live name names the parked copy in its way).
void SwitchToModified(FailedFiles* failed);
// The mirror image: live to MOD!, then ORI! to live.
void SwitchToOriginal(FailedFiles* failed);
// Finishes a switch cut short or stopped toward the originals, and never guesses a row's
// set: a live file is parked as modified only where its row shows it is (an ORI! copy beside
// it and no MOD! copy); a live file with no ORI! copy stays. A row holding its live file and
// both copies, or a name that is no plain file where a rename would touch it, is listed, and
// then nothing moves. Every rename is of a file to an absent name. ORI!files.txt comes live
// last, when every row came through.
void FinishSwitchTowardOriginals(FailedFiles* failed);
// Whether finishing parks row's live file as modified.
bool FinishParksLive(const RowNames& row);
// Phase 2 of SwitchToOriginal alone, files.txt excepted: every ORI! copy whose live name is
// free comes back. A taken live name is not listed.
void BringParkedOriginalsLive(FailedFiles* failed);

// Deletes the MOD! copy of every row but the two switch-only ones whose live name holds a
// file. Lists the MOD! copies whose delete failed for another reason than a missing file,
// and the ones kept beside a live name that holds no file.
void RemoveModifiedSet(FailedFiles* failed);
