#include "app/program.h"

#include "app/composed_message.h"
#include "app/main_window_controls.h"
#include "app/texts.h"
#include "fileset/bulk_operations.h"
#include "fileset/file_primitives.h"
#include "ui/message.h"
#include "ui/window.h"

static const int MAIN_WINDOW = 0;
static const int CLIENT_WIDTH = 250;
static const int CLIENT_HEIGHT = 40;

static const char SWITCH_REFUSED[] = "Es wurde nichts umgeschaltet!";
static const char SWITCH_FAILED[] = "Einige Dateien konnten nicht umgeschaltet werden!";
// Nothing moved: the same switch can be tried again.
static const char SWITCH_AGAIN[] = "Danach k\xF6nnen Sie erneut umschalten.";
// Both markers stay until a start brings the originals back.
static const char SWITCH_FINISHED_AT_START[] =
    "Starten Sie Tauschwerk danach erneut: Der Start holt die Originale zur\xFC"
    "ck, dann k\xF6nnen Sie wieder umschalten.";

// The information text: each line with the number of line feeds that follow it.
struct InfoLine {
    const char* text;
    int lineFeeds;
};
static const InfoLine INFO_LINES[] = {
    {"Hallo lieber User!", 2},
    {"Ich hoffe mein Programm ist Dir von Nutzen.", 1},
    {"Jedoch gebe ich keine Garantie, dass es fehlerfrei l\xE4uft.", 1},
    {"Aber bei mir funktionierts einwandfrei.", 2},
    {"Der Dateitausch folgt einer Idee der Tauschwerk-Entwickler.", 1},
    {"Es ist jedoch KEIN PATCH, daher funktioniert er in jeder Version von GTA IV!", 2},
    {"Falls es doch mal zu fehlern kommen sollte, mailt es mir:", 2},
    {"    kontakt@tauschwerk.example", 1},
    {"    Betreff: Tauschwerk", 2},
    {"\xA9 2026 Tauschwerk-Entwickler. Alle Rechte vorbehalten.", 0},
};

void ToggleFileSet() {
    // The caption is the only record of the state shown; it decides the direction.
    char* caption = MessageTextEnd();
    GetControlText(STATUS_BUTTON);
    SetMessageTextEnd(caption);

    StartRetryBudget();
    FailedFiles failed;
    ClearFailedFiles(&failed);
    if (TextEquals(caption, CAPTION_ORIGINAL))
        SwitchToModified(&failed);
    else if (TextEquals(caption, CAPTION_MODIFIED))
        SwitchToOriginal(&failed);
    else
        return;
    // Scan first, so that the caption behind the message is true. A switch either refuses
    // before it moves anything, or leaves both markers until a start has finished it.
    bool finishedAtStart = ScanStatus() == FileSetState::Conflict;
    if (failed.count > 0 && finishedAtStart)
        ShowFailureReport(SWITCH_FAILED, &failed, SWITCH_FINISHED_AT_START);
    else if (failed.count > 0)
        ShowFailureReport(SWITCH_REFUSED, &failed, SWITCH_AGAIN);
}

static void ShowInfos() {
    char* start = MessageTextEnd();
    for (const InfoLine& line : INFO_LINES) {
        AppendText(line.text);
        for (int i = 0; i < line.lineFeeds; ++i)
            AppendChar(LINE_FEED);
    }
    (void)ShowMessage(TITLE_INFOS, start, STYLE_INFO);
    SetMessageTextEnd(start);
}

static void RunControlCommand(int control) {
    switch (control) {
    case STATUS_BUTTON:
        ToggleFileSet();
        break;
    case INFOS_BUTTON:
        ShowInfos();
        break;
    case UNINSTALL_BUTTON:
        Uninstall();
        break;
    default:
        break;
    }
}

static void RunEventLoop() {
    for (;;) {
        int event = WaitEvent();
        if (event == EVENT_CONTROL)
            RunControlCommand(EventControlNumber());
        if (event == EVENT_CLOSE)
            return;
    }
}

void RunMainWindow() {
    // Centred for the client width; the top edge at half the screen height.
    int x = (ScreenWidth() - CLIENT_WIDTH) >> 1;
    int y = ScreenHeight() >> 1;
    // Without a window no event would ever come: end instead of waiting unseen.
    if (CreateAppWindow(MAIN_WINDOW, x, y, CLIENT_WIDTH, CLIENT_HEIGHT, STYLE_MAIN_WINDOW,
                        PROGRAM_NAME) == nullptr)
        EndProgram();
    SetControlParent(CurrentWindowHandle());
    (void)AddButton(STATUS_BUTTON, 0, 0, 175, 40, CAPTION_NOT_SCANNED, STYLE_DEFAULT_BUTTON);
    DisableControl(STATUS_BUTTON, CONTROL_DISABLE);
    (void)AddButton(INFOS_BUTTON, 175, 0, 75, 20, "Infos");
    (void)AddButton(UNINSTALL_BUTTON, 175, 20, 75, 20, "Deinstallation");
    DisableControl(STATUS_BUTTON, CONTROL_ENABLE);
    (void)ScanStatus();
    RunEventLoop();
    EndProgram();
}
