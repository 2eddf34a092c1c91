#pragma once

#include "fileset/file_primitives.h"
#include "fileset/file_table.h"
#include "fileset/name_survey.h"

// What counts as a failure worth telling the player, and why. The primitives only answer
// what the platform said; every rule that turns an answer, or a look at the directory,
// into a listed file lives here, so that the bulk operations and the commands only say
// which rule applies.

enum class FailureReason {
    Missing,      // the source does not exist; beside another name: that name's directory
    Exists,       // a name is taken; the other name says which
    InUse,        // another program holds the file open
    AccessDenied, // no write access, read-only file
    DiskFull,
    Other,
    StillParked,  // an original still lies under its ORI! name
    KeptOnlyCopy, // a MOD! copy kept because no original came live beside it
    StrayMarker,  // both markers beside a live files.txt
    LeftOver,     // a MOD! copy lying there before an installation
    InTheWay,     // a copy lies where a switch would park the live file
    ThreeFiles,   // the live file and both parked copies: which set each is in is not known
    Directory,    // a folder where a file belongs
    Link,         // a link, which is never followed
    CopyKept,     // an installation's own copy kept: its live file changed, or could not be read
};

// Files that could not be handled, each listed once, with the first reason.
struct FailedFile {
    char path[PARKED_PATH_SIZE];
    FailureReason reason;
    char other[PARKED_PATH_SIZE]; // the other name the reason concerns, or empty
};

// Every row of the table and every fixed name fits, so nothing is ever dropped.
constexpr int FAILED_FILES_CAPACITY = 200;

struct FailedFiles {
    int count;
    FailedFile files[FAILED_FILES_CAPACITY];
};

void ClearFailedFiles(FailedFiles* failed);
// Ignores a path already listed.
void AddFailedFile(FailedFiles* failed, const char* path, FailureReason reason,
                   const char* other = nullptr);

// The rules for an answer, each taking the list first and the path to list second.

// Any copy, rename or delete of source (to target; null for a delete): lists path, unless
// source simply is not there. A reason that concerns the target (its name taken, its
// directory missing) names the target too.
void NoteAnswer(FailedFiles* failed, const char* path, FileFailure answer, const char* source,
                const char* target);
// A step that nothing may pass over: lists path with any answer but success, a missing
// file included; true when it was done.
bool StepDone(FailedFiles* failed, const char* path, FileFailure answer);
// A rename that nothing may pass over, as StepDone; a taken target is named as the file in
// the way. True when it was done.
bool StepRenamed(FailedFiles* failed, const char* source, const char* target);
// A rename noted under its source; true when it was done.
bool RenameNoted(FailedFiles* failed, const char* source, const char* target);
// A repair's rename: only of a file, only to an absent name, so that it never guesses. Where
// source is there but target is too, there is nothing to repair; where either is no plain file
// (a folder, a link, a name that cannot be looked at), that name is listed.
void RepairRename(FailedFiles* failed, const char* source, const char* target);
// The backup's copy of live to parked. A copy replaces its target, so a taken name can only
// be the copy's temporary name.
void NoteBackupAnswer(FailedFiles* failed, const char* live, FileFailure answer,
                      const char* parked);
// A switch parks live as parked. A taken parked name means the row is in the new set
// already (a switch run again), or blocked: bringing the other set live tells.
void NoteParkAnswer(FailedFiles* failed, const char* live, FileFailure answer, const char* parked);
// A switch brings brought live. A taken live name names what is in its way: the copy parked
// under parkPrefix, or else the live file that could not be parked; without parkPrefix
// nothing was parked before, and a taken live name is left to the caller.
void NoteBringAnswer(FailedFiles* failed, const char* live, FileFailure answer, const char* brought,
                     const char* parkPrefix);
// A switch parks files.txt as marker. True when the switch may go on.
bool NoteMarkerAnswer(FailedFiles* failed, FileFailure answer, const char* marker);

// The rules for what the directory holds.

// The removal of the modified set keeps a MOD! copy that no original came live beside: it
// may be the only copy of the file. True when parked may be deleted.
bool MayDeleteModifiedCopy(FailedFiles* failed, const char* live, const char* parked);
// folder is not a directory.
void ListMissingFolder(FailedFiles* failed, const char* folder);
// Before an installation changes anything: every name it copies, renames or copies over
// must be a plain file or absent. A MOD! copy from an earlier life of the directory may be
// the only copy of a file (the installation would make it the row's modified file, and the
// uninstallation delete it), and so may an ORI! copy that differs from its live file (the
// installation would replace it); an ORI! copy equal to it, left by an installation cut
// short, is simply replaced.
void ListInstallObstacles(FailedFiles* failed, const Survey& survey);
// Which live files the uninstallation parks as modified before it removes the modified set.
enum class LiveParking {
    None,                // the originals are live
    Every,               // the modified set is live: the switch parks every live file
    WhereOriginalParked, // a switch cut short: only where the row shows a modified file
};

// Both markers beside a live files.txt, or ORI!files.txt beside an uninstallation not
// finished. Which set is live is not known then, and any rename could park an original
// where the removal deletes it.
void ListStrayMarkers(FailedFiles* failed);
// Where the uninstallation will still put the modified files.txt and filelist.pak, and
// where it puts files.txt back last: a setup file lying there already (an archive unzipped
// again) would stop it after the modified set is gone. parking says which live files go to
// their MOD! names on the way.
void ListTakenSetupNames(FailedFiles* failed, const Survey& survey, LiveParking parking);
// A name of row that a command would rename, copy or delete and must not: a folder, a
// link, or a name that cannot be looked at. True when one was listed.
bool ListUnusableName(FailedFiles* failed, const char* path, const NameLook& look);
// Before a switch moves anything: every name of every row must be usable, and where a live
// file goes, under parkPrefix, no copy may lie (in a settled directory there is none).
// files.txt must be live and the marker of the set brought live there.
void ListSwitchObstacles(FailedFiles* failed, const Survey& survey, const char* parkPrefix,
                         const char* bringPrefix);
// Takes back a copy that an installation made and that was not needed after all, but only
// while it still equals its live file: where it cannot tell, the copy stays, listed.
void RemoveCopyIfUnchanged(FailedFiles* failed, const char* live, const char* copy);
// Rows whose original is still parked: uninstalling now would later let the next
// installation take the live modified file for the original.
void ListParkedOriginals(FailedFiles* failed);
