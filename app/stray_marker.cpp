#include "app/program.h"

#include "app/composed_message.h"
#include "fileset/file_primitives.h"
#include "fileset/file_table.h"

// Both markers beside a live files.txt: which one does not belong, told as far as the names
// tell it.

static const char STRAY_MODIFIED_MARKER[] =
    "Die modifizierten Dateien sind aktiv: MOD!files.txt geh\xF6rt nicht dorthin. Verschieben Sie "
    "MOD!files.txt aus dem Spielverzeichnis an einen sicheren Ort (l\xF6schen Sie sie nicht) und "
    "starten Sie Tauschwerk dann erneut.";
static const char STRAY_ORIGINAL_MARKER[] =
    "Die ORIGINALE sind aktiv: ORI!files.txt geh\xF6rt nicht dorthin. Verschieben Sie "
    "ORI!files.txt aus dem Spielverzeichnis an einen sicheren Ort (l\xF6schen Sie sie nicht) und "
    "starten Sie Tauschwerk dann erneut.";
static const char STRAY_MARKER_UNDECIDED[] =
    "Welche Markierung nicht dorthin geh\xF6rt, ist an den Namen nicht zu erkennen. Kopieren Sie "
    "zuerst files.txt, ORI!files.txt und MOD!files.txt in einen Ordner au\xDF"
    "erhalb des Spielverzeichnisses. Ist die aktive files.txt Ihre modifizierte files.txt, "
    "verschieben Sie dann MOD!files.txt dorthin, sonst ORI!files.txt, und starten Sie Tauschwerk "
    "erneut.";

// Judged by names alone, over the rows that hold exactly one parked copy: the live set is
// the one whose copies are not parked. Beside an uninstallation not finished the originals
// are live.
static const char* StrayMarkerAdvice() {
    if (IsPresent(FileProbe(MARKER_UNINSTALLING)))
        return STRAY_ORIGINAL_MARKER;
    char parked[PARKED_PATH_SIZE];
    bool originalsParked = false;
    bool modifiedParked = false;
    for (const ManagedFile& row : ManagedFileTable) {
        if (row.switchOnly)
            continue;
        bool original = IsPresent(FileProbe(ParkedPath(row.livePath, PREFIX_ORIGINAL, parked)));
        bool modified = IsPresent(FileProbe(ParkedPath(row.livePath, PREFIX_MODIFIED, parked)));
        originalsParked = originalsParked || (original && !modified);
        modifiedParked = modifiedParked || (modified && !original);
    }
    if (originalsParked == modifiedParked)
        return STRAY_MARKER_UNDECIDED;
    return originalsParked ? STRAY_MODIFIED_MARKER : STRAY_ORIGINAL_MARKER;
}

bool ReportStrayMarkers(const char* firstLine) {
    FailedFiles failed;
    ClearFailedFiles(&failed);
    ListStrayMarkers(&failed);
    if (failed.count > 0)
        ShowFailureReport(firstLine, &failed, StrayMarkerAdvice());
    return failed.count > 0;
}
