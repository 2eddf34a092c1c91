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

static const char* ReasonText(const FailedFile& file) {
    switch (file.reason) {
    case FileFailure::Missing:
        // Named beside another name, it is that name's directory that is missing.
        return file.other[0] != 0 ? "Zielordner fehlt" : "nicht gefunden";
    case FileFailure::Exists:
        return "Name bereits vergeben";
    case FileFailure::InUse:
        return "in Benutzung";
    case FileFailure::AccessDenied:
        return "Zugriff verweigert";
    case FileFailure::DiskFull:
        return "Datentr\xE4ger voll";
    case FileFailure::StillParked:
        return "Original noch nicht zur\xFC"
               "ckgeholt";
    case FileFailure::KeptOnlyCopy:
        return "kein Original gesichert, Datei behalten";
    case FileFailure::StrayMarker:
        return "Markierung doppelt";
    case FileFailure::None:
    case FileFailure::Other:
        break;
    }
    return "Fehler";
}

static void AppendFailedFiles(const FailedFiles* failed) {
    int shown = failed->count < REPORTED_FILES_LIMIT ? failed->count : REPORTED_FILES_LIMIT;
    for (int i = 0; i < shown; ++i) {
        const FailedFile& file = failed->files[i];
        AppendChar(LINE_FEED);
        AppendText(file.path);
        AppendText(" (");
        AppendText(ReasonText(file));
        if (file.other[0] != 0) {
            AppendText(": ");
            AppendText(file.other);
        }
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

void ShowFailureReport(const char* firstLine, const FailedFiles* failed, const char* advice) {
    char* start = MessageTextEnd();
    AppendText(firstLine);
    AppendChar(LINE_FEED);
    AppendFailedFiles(failed);
    AppendChar(LINE_FEED);
    AppendChar(LINE_FEED);
    AppendText(advice);
    (void)ShowMessage(TITLE_ERROR, start, STYLE_ERROR);
    SetMessageTextEnd(start);
}
