#include "app/program.h"

#include "app/composed_message.h"
#include "fileset/bulk_operations.h"
#include "fileset/file_primitives.h"
#include "fileset/file_table.h"

// What a program cut short (killed, a power cut, a file that would not move) leaves, finished
// or undone before anything else looks at the directory. Only renames of files to absent
// names, and only where the names tell what to do: a repair that fails or is cut short leaves
// a layout that the same rules finish at the next start.

static const char REPAIR_FAILED[] =
    "Eine unterbrochene Arbeit von Tauschwerk konnte nicht abgeschlossen werden!";
static const char START_AGAIN[] = "Starten Sie Tauschwerk danach erneut: Der Start schlie\xDF"
                                  "t die unterbrochene Arbeit ab.";

static bool IsAbsent(const char* path) {
    return !IsPresent(FileProbe(path));
}

static void RepairUninstalled(FailedFiles* failed) {
    // A write test cut short: files.txt lies under its test name.
    if (IsAbsent(FILES_TXT) && IsFile(FileProbe(SETUP_FILE_1)) && IsFile(FileProbe(SETUP_FILE_2)))
        RepairRename(failed, TEST_WRITE, FILES_TXT);
    // An installation cut before its marker: the game's filelist.pak is parked.
    RepairRename(failed, FILELIST_PAK_ORIGINAL, FILELIST_PAK);
}

bool RepairInterruptedWork() {
    StartRetryBudget();
    FailedFiles failed;
    ClearFailedFiles(&failed);
    bool originalParked = IsPresent(FileProbe(MARKER_ORIGINAL));
    bool modifiedParked = IsPresent(FileProbe(MARKER_MODIFIED));
    // An uninstallation not finished is finished by the uninstallation alone.
    if (IsPresent(FileProbe(MARKER_UNINSTALLING)))
        return true;
    if (!originalParked && !modifiedParked)
        RepairUninstalled(&failed);
    // A switch cut short, or one that stopped at a file that would not move.
    else if (originalParked && modifiedParked && IsAbsent(FILES_TXT))
        FinishSwitchTowardOriginals(&failed);
    // An installation cut after its marker: the setup files are not yet in place.
    else if (originalParked && IsAbsent(FILES_TXT))
        PutSetupFilesInPlace(&failed);
    if (failed.count == 0)
        return true;
    ShowFailureReport(REPAIR_FAILED, &failed, START_AGAIN);
    return false;
}
