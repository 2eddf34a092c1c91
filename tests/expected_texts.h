#pragma once

// In a namespace of their own: the program defines texts of the same names, and the tests
// must never end up comparing the program with itself.
namespace expected {

// One line a text, as the program shows it.
// clang-format off

// The program's texts as the tests expect them, written out here rather than taken from
// the program, so that a changed text shows. Code page 1252.

// Box styles in Windows' numbers: the icon plus the buttons.
inline constexpr unsigned BOX_PLAIN = 0x00;            // MB_OK, no icon
inline constexpr unsigned BOX_ERROR = 0x10;            // MB_ICONHAND
inline constexpr unsigned BOX_WARNING_QUESTION = 0x31; // MB_ICONEXCLAMATION | MB_OKCANCEL
inline constexpr unsigned BOX_INFO = 0x40;             // MB_ICONASTERISK
inline constexpr unsigned BOX_INFO_QUESTION = 0x41;    // MB_ICONASTERISK | MB_OKCANCEL

inline constexpr char CAPTION_MODIFIED[] = "Dateien sind z. Z. MODIFIZIERT";
inline constexpr char CAPTION_ORIGINAL[] = "Dateien sind z. Z. ORIGINALE";
inline constexpr char CAPTION_CONFLICT[] = "!! KRITISCHER FEHLER !!";

inline constexpr char TITLE_ERROR[] = "Tauschwerk: Fehler";
inline constexpr char TITLE_INSTALLATION[] = "Tauschwerk: Installation";
inline constexpr char TITLE_INFO[] = "Tauschwerk: Info";
inline constexpr char TITLE_UNINSTALL[] = "Tauschwerk: Deinstallation";
inline constexpr char TITLE_INFOS[] = "Tauschwerk: Infos";
inline constexpr char TITLE_PLAIN[] = "Tauschwerk";

inline constexpr char TEXT_NOT_IN_GAME_DIRECTORY[] = "Diese Anwendung muss sich im Spiel-Verzeichnis von GTA IV befinden!";
inline constexpr char TEXT_ALREADY_RUNNING[] = "Tauschwerk l\xE4uft in diesem Verzeichnis bereits.\n\n" "Das andere Tauschwerk arbeitet vielleicht gerade ohne Fenster (w\xE4hrend der " "Installation). Warten Sie, bis es fertig ist, oder beenden Sie es; starten Sie " "Tauschwerk dann erneut.";
inline constexpr char TEXT_CONSENT[] = "Zur ersten Nutzung werden nun einige Einstellungen vorgenommen...\n\n" "Bitte stellen Sie sicher, dass alle Dateien im Spielverzeichnis Original sind,\n" "bevor sie mit der Installation fortfahren.";
inline constexpr char TEXT_INSTALLED[] = "Installation wurde erfolgreich abgeschlossen!\n" "Sie k\xF6nnen nun Dateien bearbeiten und jederzeit auf Originale umschalten.\n\n" "WICHTIG: Bearbeiten Sie Dateien NUR im MODIFIZIERTEN Zustand!!";
inline constexpr char TEXT_DECLINED[] = "Gute Entscheidung  ;-)";
inline constexpr char TEXT_UNINSTALLED[] = "Deinstallation wurde erfolgreich abgeschlossen!";
inline constexpr char TEXT_UNINSTALL_QUESTION[] = "Sind Sie sich sicher, dass Sie dieses Programm deinstallieren wollen?\n\n" "Alle MODs gehen verloren und es verbleiben nur noch Originale!";
inline constexpr char TEXT_INFOS[] = "Hallo lieber User!\n\n" "Ich hoffe mein Programm ist Dir von Nutzen.\n" "Jedoch gebe ich keine Garantie, dass es fehlerfrei l\xE4uft.\n" "Aber bei mir funktionierts einwandfrei.\n\n" "Der Dateitausch folgt einer Idee der Tauschwerk-Entwickler.\n" "Es ist jedoch KEIN PATCH, daher funktioniert er in jeder Version von GTA IV!\n\n" "Falls es doch mal zu fehlern kommen sollte, mailt es mir:\n\n" "    kontakt@tauschwerk.example\n" "    Betreff: Tauschwerk\n\n" "\xA9 2026 Tauschwerk-Entwickler. Alle Rechte vorbehalten.";

inline constexpr char TEXT_SETUP_MISSING[] = "Es fehlen einige Dateien zur Installation!\nBitte kopieren Sie alle Dateien aus dem " "ZIP-Ordner (''Tauschwerk'', ''Setup1'' & ''Setup2'') in das Spielverzeichnis.";
inline constexpr char TEXT_WRITE_FAILED[] = "Es ist ein Fehler w\xE4hrend eines Schreibvorganges aufgetreten!\nSie m\xFCssen diese " "Anwendung als Administrator ausf\xFChren (s. Kontextmen\xFC)!";

// Error reports: the first line, the files with their reasons, one advice line per reason
// and the step open to the player.
inline constexpr char SWITCH_REFUSED[] = "Es wurde nichts umgeschaltet!";
inline constexpr char SWITCH_FAILED[] = "Einige Dateien konnten nicht umgeschaltet werden!";
inline constexpr char START_UNDECIDED[] = "Tauschwerk kann nicht erkennen, welche Dateien aktiv sind!";
inline constexpr char TEXT_UNINSTALL_UNFINISHED[] = "Die Deinstallation wurde nicht abgeschlossen!\n\n" "Die Originale sind aktiv, aber ein Teil der modifizierten Dateien ist schon gel\xF6scht. Klicken Sie auf \"Deinstallation\", um die Deinstallation abzuschlie\xDF" "en.";
inline constexpr char INSTALL_ABORTED[] = "Die Installation wurde abgebrochen!";
inline constexpr char INSTALL_NOT_STARTED[] = "Die Installation konnte nicht beginnen!";
inline constexpr char INSTALL_UNFINISHED[] = "Die Installation konnte nicht vollst\xE4ndig abgeschlossen werden!";
inline constexpr char UNINSTALL_ABORTED[] = "Die Deinstallation wurde abgebrochen!";
inline constexpr char UNINSTALL_INCOMPLETE[] = "Die Deinstallation konnte nicht vollst\xE4ndig abgeschlossen werden!";
inline constexpr char REPAIR_FAILED[] = "Eine unterbrochene Arbeit von Tauschwerk konnte nicht abgeschlossen werden!";

inline constexpr char ADVICE_HELD[] = "In Benutzung: Schlie\xDF" "en Sie das Spiel und alle Programme, die diese Dateien benutzen.";
inline constexpr char ADVICE_DENIED[] = "Zugriff verweigert: Heben Sie den Schreibschutz der Datei und ihres Ordners auf, oder " "starten Sie Tauschwerk aus einem Benutzerkonto, das dort schreiben darf.";
inline constexpr char ADVICE_FULL[] = "Datentr\xE4ger voll: Schaffen Sie Platz auf dem Laufwerk des Spiels.";
inline constexpr char ADVICE_TAKEN[] = "Name bereits vergeben: Verschieben Sie die nach dem Doppelpunkt genannte Datei aus dem " "Spielverzeichnis an einen sicheren Ort (l\xF6schen Sie sie nicht).";
inline constexpr char ADVICE_NOT_FOUND[] = "Nicht gefunden: Stellen Sie die Dateien des Spiels wieder her (etwa durch eine " "\xDC" "berpr\xFC" "fung der Spieldateien).";
inline constexpr char ADVICE_OTHER[] = "Fehler: Pr\xFC" "fen Sie das Laufwerk des Spiels.";
inline constexpr char ADVICE_STILL_PARKED[] = "Original noch nicht zur\xFC" "ckgeholt: Neben der aktiven Datei liegt noch ihr Original; " "eine der beiden geh\xF6rt nicht dorthin. Verschieben Sie die nach dem Doppelpunkt genannte " "Kopie aus dem Spielverzeichnis an einen sicheren Ort.";
inline constexpr char ADVICE_KEPT[] = "Datei behalten: Zu ihr kam kein Original zur\xFC" "ck (das Spiel hat sie vielleicht nicht, " "oder ihr Original wurde nie gesichert). Verschieben Sie sie an einen sicheren Ort " "au\xDF" "erhalb des Spielverzeichnisses, oder benennen Sie sie, wenn das Spiel sie braucht, " "von Hand in ihren Namen ohne MOD! um.";
inline constexpr char ADVICE_LEFT_OVER[] = "Von fr\xFC" "her \xFC" "brig: Diese Dateien stammen aus einer fr\xFC" "heren Installation " "und sind vielleicht die einzige Kopie einer Datei. Verschieben Sie sie aus dem " "Spielverzeichnis an einen sicheren Ort, oder benennen Sie sie von Hand in ihren Namen " "ohne MOD! um, wo dieser Name frei ist.";

inline constexpr char ADVICE_IN_THE_WAY[] = "Kopie im Weg: Eine der Dateien dieser Zeile geh\xF6rt nicht dorthin. Verschieben Sie die genannte Kopie aus dem Spielverzeichnis an einen sicheren Ort und bewahren Sie sie auf.";
inline constexpr char ADVICE_THREE_FILES[] = "Drei Fassungen: Neben der aktiven Datei liegen ihr Original und ihre modifizierte Fassung; eine der drei geh\xF6rt nicht dorthin. Verschieben Sie die aktive Datei aus dem Spielverzeichnis an einen sicheren Ort und bewahren Sie sie auf.";
inline constexpr char ADVICE_DIRECTORY[] = "Ordner statt Datei: Verschieben Sie den genannten Ordner aus dem Spielverzeichnis an einen sicheren Ort.";
inline constexpr char ADVICE_LINK[] = "Verkn\xFCpfung: Tauschwerk folgt keiner Verkn\xFCpfung. Ersetzen Sie sie durch eine Kopie der Datei, auf die sie zeigt.";
inline constexpr char ADVICE_COPY_KEPT[] = "Kopie nicht zur\xFC" "ckgenommen: Die Installation hat diese Kopie gemacht, doch die Datei daneben hat sich seitdem ge\xE4ndert oder lie\xDF sich nicht lesen. Verschieben Sie die Kopie aus dem Spielverzeichnis an einen sicheren Ort.";

inline constexpr char NEXT_INSTALL_AGAIN[] = "Danach k\xF6nnen Sie die Installation erneut starten.";
inline constexpr char NEXT_TEST_NAME[] = "TEST.WRITE ist die files.txt des Spiels unter einem Testnamen. Schlie\xDF" "en Sie die " "Programme, die sie benutzen, und starten Sie Tauschwerk erneut: Solange Setup1.Vornak und " "Setup2.Vornak im Spielverzeichnis liegen, gibt der Start ihr den Namen files.txt zur\xFC" "ck. Sonst benennen Sie TEST.WRITE von Hand in files.txt um.";
inline constexpr char NEXT_INSTALL_AT_START[] = "Die Originale sind gesichert. Starten Sie Tauschwerk danach erneut: Der Start schlie\xDF" "t die Installation ab.";
inline constexpr char NEXT_SWITCH_AGAIN[] = "Danach k\xF6nnen Sie erneut umschalten.";
inline constexpr char NEXT_SWITCH_AT_START[] = "Starten Sie Tauschwerk danach erneut: Der Start holt die Originale zur\xFC" "ck, dann k\xF6nnen Sie wieder umschalten.";
inline constexpr char NEXT_UNINSTALL_AGAIN[] = "Danach k\xF6nnen Sie erneut deinstallieren; was schon erledigt ist, bleibt es.";
inline constexpr char NEXT_START_AGAIN[] = "Starten Sie Tauschwerk danach erneut.";
inline constexpr char NEXT_REPAIR_AT_START[] = "Starten Sie Tauschwerk danach erneut: Der Start schlie\xDF" "t die unterbrochene Arbeit ab.";
inline constexpr char STRAY_MODIFIED_MARKER[] = "Die Dateien des MODIFIZIERTEN Satzes sind aktiv: MOD!files.txt geh\xF6rt nicht dorthin. " "Verschieben Sie MOD!files.txt aus dem Spielverzeichnis an einen sicheren Ort (l\xF6schen " "Sie sie nicht) und starten Sie Tauschwerk dann erneut.";
inline constexpr char STRAY_ORIGINAL_MARKER[] = "Die ORIGINALE sind aktiv: ORI!files.txt geh\xF6rt nicht dorthin. Verschieben Sie " "ORI!files.txt aus dem Spielverzeichnis an einen sicheren Ort (l\xF6schen Sie sie nicht) und " "starten Sie Tauschwerk dann erneut.";
inline constexpr char STRAY_MARKER_UNDECIDED[] = "Welche Markierung nicht dorthin geh\xF6rt, ist an den Dateien nicht zu erkennen. Kopieren " "Sie files.txt, ORI!files.txt und MOD!files.txt in einen Ordner au\xDF" "erhalb des " "Spielverzeichnisses, verschieben Sie dann die Markierung, deren Inhalt nicht zu den " "aktiven Dateien passt, ebenfalls dorthin und starten Sie Tauschwerk erneut.";

// clang-format on

} // namespace expected
