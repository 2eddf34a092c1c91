#include "app/composed_message.h"

#include <stdio.h>

#include "app/texts.h"
#include "ui/message.h"

int ShowLines(const char* title, const char* const* lines, int count, unsigned style) {
    char* start = MessageTextEnd();
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            AppendChar(LINE_FEED);
        AppendText(lines[i]);
    }
    int answer = ShowMessage(title, start, style);
    SetMessageTextEnd(start);
    return answer;
}

// What a report's line says after the file's name, and the advice that goes with it. The
// advice never asks to delete a file: moved out of the game directory, nothing is lost.
struct ReasonWording {
    const char* reason;
    const char* advice;
};

static ReasonWording Wording(const FailedFile& file) {
    switch (file.reason) {
    case FailureReason::Missing:
        // Named beside another name, it is that name's directory that is missing.
        if (file.other[0] != 0)
            return {"Zielordner fehlt", "Zielordner fehlt: Legen Sie den genannten Ordner im "
                                        "Spielverzeichnis wieder an."};
        return {"nicht gefunden", "Nicht gefunden: Stellen Sie die Dateien des Spiels wieder her "
                                  "(etwa durch eine \xDC"
                                  "berpr\xFC"
                                  "fung der Spieldateien)."};
    case FailureReason::Exists:
        return {"Name bereits vergeben",
                "Name bereits vergeben: Verschieben Sie die nach dem Doppelpunkt genannte Datei "
                "aus dem Spielverzeichnis an einen sicheren Ort (l\xF6schen Sie sie nicht)."};
    case FailureReason::InUse:
        return {"in Benutzung", "In Benutzung: Schlie\xDF"
                                "en Sie das Spiel und alle Programme, die diese Dateien benutzen."};
    case FailureReason::AccessDenied:
        return {"Zugriff verweigert",
                "Zugriff verweigert: Heben Sie den Schreibschutz der Datei und ihres Ordners auf, "
                "oder starten Sie Tauschwerk aus einem Benutzerkonto, das dort schreiben darf."};
    case FailureReason::DiskFull:
        return {"Datentr\xE4ger voll",
                "Datentr\xE4ger voll: Schaffen Sie Platz auf dem Laufwerk des Spiels."};
    case FailureReason::StillParked:
        return {"Original noch nicht zur\xFC"
                "ckgeholt",
                "Original noch nicht zur\xFC"
                "ckgeholt: Neben der aktiven Datei liegt noch ihr Original; eine der beiden "
                "geh\xF6rt nicht dorthin. Verschieben Sie die nach dem Doppelpunkt genannte Kopie "
                "aus dem Spielverzeichnis an einen sicheren Ort."};
    case FailureReason::KeptOnlyCopy:
        return {"kein Original gesichert, Datei behalten",
                "Datei behalten: Zu ihr kam kein Original zur\xFC"
                "ck (das Spiel hat sie vielleicht nicht, oder ihr Original wurde nie gesichert). "
                "Verschieben Sie sie an einen sicheren Ort au\xDF"
                "erhalb des Spielverzeichnisses, oder benennen Sie sie, wenn das Spiel sie "
                "braucht, von Hand in ihren Namen ohne MOD! um."};
    case FailureReason::LeftOver:
        return {"von fr\xFC"
                "her \xFC"
                "brig",
                "Von fr\xFC"
                "her \xFC"
                "brig: Diese Dateien stammen aus einer fr\xFC"
                "heren Installation und sind vielleicht die einzige Kopie einer Datei. Verschieben "
                "Sie sie aus dem Spielverzeichnis an einen sicheren Ort, oder benennen Sie sie von "
                "Hand in ihren Namen ohne MOD! um, wo dieser Name frei ist."};
    case FailureReason::StrayMarker:
        return {"Markierung doppelt", nullptr};
    case FailureReason::InTheWay:
        return {"Kopie im Weg",
                "Kopie im Weg: Eine der Dateien dieser Zeile geh\xF6rt nicht dorthin. Verschieben "
                "Sie die genannte Kopie aus dem Spielverzeichnis an einen sicheren Ort und "
                "bewahren Sie sie auf."};
    case FailureReason::ThreeFiles:
        return {"drei Fassungen",
                "Drei Fassungen: Neben der aktiven Datei liegen ihr Original und ihre "
                "modifizierte Fassung; eine der drei geh\xF6rt nicht dorthin. Verschieben Sie die "
                "aktive Datei aus dem Spielverzeichnis an einen sicheren Ort und bewahren Sie "
                "sie auf."};
    case FailureReason::Directory:
        return {"Ordner statt Datei",
                "Ordner statt Datei: Verschieben Sie den genannten Ordner aus dem "
                "Spielverzeichnis an einen sicheren Ort."};
    case FailureReason::CopyKept:
        return {"Kopie nicht zur\xFC"
                "ckgenommen",
                "Kopie nicht zur\xFC"
                "ckgenommen: Die Installation hat diese Kopie gemacht, doch die Datei daneben hat "
                "sich seitdem ge\xE4ndert oder lie\xDF sich nicht lesen. Verschieben Sie die Kopie "
                "aus dem Spielverzeichnis an einen sicheren Ort."};
    case FailureReason::Link:
        return {"Verkn\xFCpfung",
                "Verkn\xFCpfung: Tauschwerk folgt keiner Verkn\xFCpfung. Ersetzen Sie sie durch "
                "eine Kopie der Datei, auf die sie zeigt."};
    case FailureReason::Other:
        break;
    }
    return {"Fehler", "Fehler: Pr\xFC"
                      "fen Sie das Laufwerk des Spiels."};
}

// The row's two parked copies, beside its live file.
static void AppendParkedCopies(const char* livePath) {
    char parked[PARKED_PATH_SIZE];
    AppendText(": ");
    AppendText(ParkedPath(livePath, PREFIX_ORIGINAL, parked));
    AppendText(", ");
    AppendText(ParkedPath(livePath, PREFIX_MODIFIED, parked));
}

static void AppendFailedFiles(const FailedFiles* failed) {
    int shown = failed->count < REPORTED_FILES_LIMIT ? failed->count : REPORTED_FILES_LIMIT;
    for (int i = 0; i < shown; ++i) {
        const FailedFile& file = failed->files[i];
        AppendChar(LINE_FEED);
        AppendText(file.path);
        AppendText(" (");
        AppendText(Wording(file).reason);
        if (file.other[0] != 0) {
            AppendText(": ");
            AppendText(file.other);
        }
        if (file.reason == FailureReason::ThreeFiles)
            AppendParkedCopies(file.path);
        AppendText(")");
    }
    int more = failed->count - shown;
    if (more > 0) {
        char line[64];
        (void)snprintf(line, sizeof line, "... und %d weitere Datei%s", more,
                       more == 1 ? "" : "en");
        AppendChar(LINE_FEED);
        AppendText(line);
    }
}

// Each reason's advice once, in the order of the rows that first show it.
static void AppendAdvice(const FailedFiles* failed) {
    for (int i = 0; i < failed->count; ++i) {
        const char* advice = Wording(failed->files[i]).advice;
        bool seen = advice == nullptr;
        for (int j = 0; j < i && !seen; ++j)
            seen = TextEquals(Wording(failed->files[j]).advice, advice);
        if (!seen) {
            AppendText(advice);
            AppendChar(LINE_FEED);
        }
    }
}

void ShowFailureReport(const char* firstLine, const FailedFiles* failed, const char* nextStep) {
    char* start = MessageTextEnd();
    AppendText(firstLine);
    AppendChar(LINE_FEED);
    AppendFailedFiles(failed);
    AppendChar(LINE_FEED);
    AppendChar(LINE_FEED);
    AppendAdvice(failed);
    AppendText(nextStep);
    (void)ShowMessage(TITLE_ERROR, start, STYLE_ERROR);
    SetMessageTextEnd(start);
}
