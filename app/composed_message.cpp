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

static const char* ReasonText(FileFailure reason) {
    switch (reason) {
    case FileFailure::None:
        // Listed without a failed call: the file's original is still parked.
        return "Original noch nicht zur\xFC"
               "ckgeholt";
    case FileFailure::Missing:
        return "nicht gefunden";
    case FileFailure::Exists:
        return "Name bereits vergeben";
    case FileFailure::InUse:
        return "in Benutzung";
    case FileFailure::AccessDenied:
        return "Zugriff verweigert";
    case FileFailure::DiskFull:
        return "Datentr\xE4ger voll";
    case FileFailure::Other:
        break;
    }
    return "Fehler";
}

static void AppendFailedFiles(const FailedFiles* failed) {
    int shown = failed->count < REPORTED_FILES_LIMIT ? failed->count : REPORTED_FILES_LIMIT;
    for (int i = 0; i < shown; ++i) {
        AppendChar(LINE_FEED);
        AppendText(failed->files[i].path);
        AppendText(" (");
        AppendText(ReasonText(failed->files[i].reason));
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
