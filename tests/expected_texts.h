#pragma once

#include <string>

// In a namespace of their own: the program defines texts of the same names, and the tests
// must never end up comparing the program with itself.
namespace expected {

// The program's texts as the tests expect them, written out here rather than taken from
// the program, so that a changed text shows. Code page 1252.

inline constexpr char CAPTION_MODIFIED[] = "Dateien sind z. Z. MODIFIZIERT";
inline constexpr char CAPTION_ORIGINAL[] = "Dateien sind z. Z. ORIGINALE";
inline constexpr char CAPTION_CONFLICT[] = "!! KRITISCHER FEHLER !!";

inline constexpr char TITLE_ERROR[] = "Tauschwerk: Fehler";
inline constexpr char TITLE_INSTALLATION[] = "Tauschwerk: Installation";
inline constexpr char TITLE_INFO[] = "Tauschwerk: Info";
inline constexpr char TITLE_UNINSTALL[] = "Tauschwerk: Deinstallation";

inline constexpr char TEXT_NOT_IN_GAME_DIRECTORY[] =
    "Diese Anwendung muss sich im Spiel-Verzeichnis von GTA IV befinden!";
inline constexpr char TEXT_ALREADY_RUNNING[] =
    "Tauschwerk l\xE4uft in diesem Verzeichnis bereits.\n\n"
    "Das andere Tauschwerk arbeitet vielleicht gerade ohne Fenster (w\xE4hrend der "
    "Installation). Warten Sie, bis es fertig ist, oder beenden Sie es; starten Sie "
    "Tauschwerk dann erneut.";
inline constexpr char TEXT_CONSENT[] =
    "Zur ersten Nutzung werden nun einige Einstellungen vorgenommen...\n\n"
    "Bitte stellen Sie sicher, dass alle Dateien im Spielverzeichnis Original sind,\n"
    "bevor sie mit der Installation fortfahren.";
inline constexpr char TEXT_INSTALLED[] =
    "Installation wurde erfolgreich abgeschlossen!\n"
    "Sie k\xF6nnen nun Dateien bearbeiten und jederzeit auf Originale umschalten.\n\n"
    "WICHTIG: Bearbeiten Sie Dateien NUR im MODIFIZIERTEN Zustand!!";
inline constexpr char TEXT_UNINSTALLED[] = "Deinstallation wurde erfolgreich abgeschlossen!";
inline constexpr char TEXT_UNINSTALL_QUESTION[] =
    "Sind Sie sich sicher, dass Sie dieses Programm deinstallieren wollen?\n\n"
    "Alle MODs gehen verloren und es verbleiben nur noch Originale!";
inline constexpr char TEXT_INFOS[] =
    "Hallo lieber User!\n\n"
    "Ich hoffe mein Programm ist Dir von Nutzen.\n"
    "Jedoch gebe ich keine Garantie, dass es fehlerfrei l\xE4uft.\n"
    "Aber bei mir funktionierts einwandfrei.\n\n"
    "Der Dateitausch folgt einer Idee der Tauschwerk-Entwickler.\n"
    "Es ist jedoch KEIN PATCH, daher funktioniert er in jeder Version von GTA IV!\n\n"
    "Falls es doch mal zu fehlern kommen sollte, mailt es mir:\n\n"
    "    kontakt@tauschwerk.example\n"
    "    Betreff: Tauschwerk\n\n"
    "\xA9 2026 Tauschwerk-Entwickler. Alle Rechte vorbehalten.";

// Error reports: the first line, the files with their reasons, the advice.
inline constexpr char SWITCH_FAILED[] = "Einige Dateien konnten nicht umgeschaltet werden!";
inline constexpr char SWITCH_ADVICE[] = "Bitte schlie\xDF"
                                        "en Sie das Spiel und alle Programme, die diese Dateien "
                                        "benutzen, und schalten Sie dann einmal hin und zur\xFC"
                                        "ck.";
inline constexpr char UNINSTALL_INCOMPLETE[] =
    "Die Deinstallation konnte nicht vollst\xE4ndig abgeschlossen werden!";
inline constexpr char INCOMPLETE_ADVICE[] =
    "Jede Datei im Spielverzeichnis, die noch MOD!... hei\xDFt, wurde behalten: Zu ihr war "
    "kein Original gesichert, oder sie konnte nicht gel\xF6scht werden. Schlie\xDF"
    "en Sie alle Programme, die sie benutzen, und benennen Sie sie von Hand in ihren eigenen "
    "Namen (ohne MOD!) um, wenn das Spiel sie braucht, oder l\xF6schen Sie sie.";
inline std::string ReportText(const char* first, const std::string& files, const char* advice) {
    return std::string(first) + "\n\n" + files + "\n\n" + advice;
}

} // namespace expected

using namespace expected;
