#pragma once

// The program's name, the titles of its boxes and the state button's captions, each kind
// in one place. Code page 1252: umlauts are written as escapes.

inline constexpr char PROGRAM_NAME[] = "Tauschwerk";
inline constexpr char TITLE_ERROR[] = "Tauschwerk: Fehler";
inline constexpr char TITLE_INSTALLATION[] = "Tauschwerk: Installation";
inline constexpr char TITLE_INFO[] = "Tauschwerk: Info";
inline constexpr char TITLE_INFOS[] = "Tauschwerk: Infos";
inline constexpr char TITLE_UNINSTALL[] = "Tauschwerk: Deinstallation";

inline constexpr char CAPTION_NOT_SCANNED[] = "Status wurde nicht gescannt!";
inline constexpr char CAPTION_MODIFIED[] = "Dateien sind z. Z. MODIFIZIERT";
inline constexpr char CAPTION_ORIGINAL[] = "Dateien sind z. Z. ORIGINALE";
inline constexpr char CAPTION_CONFLICT[] = "!! KRITISCHER FEHLER !!";
