#pragma once

// The program's texts as the tests expect them, written out here rather than taken from
// the program, so that a changed text shows. Code page 1252.

inline constexpr char CAPTION_MODIFIED[] = "Dateien sind z. Z. MODIFIZIERT";
inline constexpr char CAPTION_ORIGINAL[] = "Dateien sind z. Z. ORIGINALE";
inline constexpr char CAPTION_CONFLICT[] = "!! KRITISCHER FEHLER !!";

inline constexpr char TITLE_ERROR[] = "Tauschwerk: Fehler";

inline constexpr char TEXT_CONSENT[] =
    "Zur ersten Nutzung werden nun einige Einstellungen vorgenommen...\n\n"
    "Bitte stellen Sie sicher, dass alle Dateien im Spielverzeichnis Original sind,\n"
    "bevor sie mit der Installation fortfahren.";
inline constexpr char TEXT_INSTALLED[] =
    "Installation wurde erfolgreich abgeschlossen!\n"
    "Sie k\xF6nnen nun Dateien bearbeiten und jederzeit auf Originale umschalten.\n\n"
    "WICHTIG: Bearbeiten Sie Dateien NUR im MODIFIZIERTEN Zustand!!";
inline constexpr char TEXT_UNINSTALL_QUESTION[] =
    "Sind Sie sich sicher, dass Sie dieses Programm deinstallieren wollen?\n\n"
    "Alle MODs gehen verloren und es verbleiben nur noch Originale!";
