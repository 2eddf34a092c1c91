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
            return {"Zielordner fehlt",
                    "Zielordner fehlt: Der Ordner der Datei nach dem Doppelpunkt fehlt im "
                    "Spielverzeichnis. Legen Sie ihn dort als leeren Ordner wieder an."};
        return {"nicht gefunden",
                "Nicht gefunden: Legen Sie die Datei aus Ihrer eigenen Sicherung wieder an ihren "
                "Platz. Die Dateipr\xFC"
                "fung des Spiels stellt fehlende Dateien auch wieder her, darf aber nur laufen, "
                "solange die ORIGINALE aktiv sind oder Tauschwerk nicht installiert ist: Sonst \xFC"
                "berschreibt sie Ihre modifizierten Dateien."};
    case FailureReason::Exists:
        return {"Name bereits vergeben",
                "Name bereits vergeben: Verschieben Sie die nach dem Doppelpunkt genannte Datei "
                "aus dem Spielverzeichnis an einen sicheren Ort (l\xF6schen Sie sie nicht)."};
    case FailureReason::InUse:
        return {"in Benutzung", "In Benutzung: Schlie\xDF"
                                "en Sie das Spiel und alle Programme, die diese Dateien benutzen, "
                                "auch einen Editor, der eine von ihnen ge\xF6"
                                "ffnet hat."};
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
                "ckgeholt: Neben der aktiven Datei liegt noch eine Kopie unter ORI!; eine der "
                "beiden ist eine zweite Kopie, die nicht dorthin geh\xF6rt. Verschieben Sie die "
                "nach dem Doppelpunkt genannte Kopie aus dem Spielverzeichnis an einen sicheren "
                "Ort und bewahren Sie sie auf."};
    case FailureReason::KeptOnlyCopy:
        return {"kein Original gesichert, Datei behalten",
                "Datei behalten: Zu dieser modifizierten Datei kam kein Original zur\xFC"
                "ck (das Spiel hat die Datei vielleicht nicht, oder ihr Original wurde nie "
                "gesichert). Verschieben Sie sie an einen sicheren Ort au\xDF"
                "erhalb des Spielverzeichnisses, oder benennen Sie sie, wenn das Spiel sie "
                "braucht, von Hand in ihren Namen ohne MOD! um."};
    case FailureReason::LeftOver:
        return {"von fr\xFCher \xFC"
                "brig",
                "Von fr\xFCher \xFC"
                "brig: Diese Kopien stammen aus einer fr\xFCheren Installation oder von Hand und "
                "sind vielleicht die einzige Fassung einer Datei. Verschieben Sie sie aus dem "
                "Spielverzeichnis an einen sicheren Ort und bewahren Sie sie auf."};
    case FailureReason::StrayMarker:
        return {"Markierung doppelt", nullptr};
    case FailureReason::InTheWay:
        return {"Kopie im Weg", "Kopie im Weg: Wohin Tauschwerk die aktive Datei legen w\xFCrde, "
                                "liegt schon eine Kopie; eine der Dateien dieser Zeile geh\xF6rt "
                                "nicht dorthin. Verschieben Sie die genannte Kopie aus dem "
                                "Spielverzeichnis an einen sicheren Ort und bewahren Sie sie auf."};
    case FailureReason::ThreeFiles:
        return {
            "drei Fassungen",
            "Drei Fassungen: Neben der aktiven Datei liegen eine Kopie unter ORI! und eine unter "
            "MOD!; eine der drei geh\xF6rt nicht dorthin. Verschieben Sie die aktive Datei aus dem "
            "Spielverzeichnis an einen sicheren Ort und bewahren Sie sie auf; der n\xE4"
            "chste Start macht dann die Kopie unter ORI! zur aktiven Datei."};
    case FailureReason::Directory:
        return {"Ordner statt Datei",
                "Ordner statt Datei: Wo eine Datei hingeh\xF6rt, liegt ein Ordner. Verschieben Sie "
                "den genannten Ordner aus dem Spielverzeichnis an einen sicheren Ort."};
    case FailureReason::Link:
        return {"Verkn\xFCpfung", "Verkn\xFCpfung: Tauschwerk folgt keiner Verkn\xFCpfung, auch "
                                  "keinem verkn\xFCpften Ordner. Ersetzen Sie die genannte "
                                  "Verkn\xFCpfung durch eine Kopie der Datei, auf die sie zeigt."};
    case FailureReason::CopyKept:
        return {"Kopie nicht zur\xFC"
                "ckgenommen",
                "Kopie nicht zur\xFC"
                "ckgenommen: Diese Kopie hat die Installation gemacht, doch ihre Datei hat sich "
                "seitdem ge\xE4ndert oder lie\xDF sich nicht lesen. Verschieben Sie die Kopie aus "
                "dem Spielverzeichnis an einen sicheren Ort."};
    case FailureReason::Other:
        break;
    }
    return {"Fehler",
            "Fehler: Windows meldete einen unerwarteten Fehler. Schlie\xDF"
            "en Sie das Spiel und alle Programme, die Spieldateien benutzen, pr\xFC"
            "fen Sie das Laufwerk des Spiels auf Fehler (im Explorer: Eigenschaften, Tools, Pr\xFC"
            "fen) und versuchen Sie es dann erneut."};
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
