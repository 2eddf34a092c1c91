#pragma once

// Beneath ShowMessage: one box, owned by the current foreground window or by none. Answers
// the button chosen, or anything else when the box could not be shown (Windows answers 0,
// Wine -1).
int PlatformMessageBox(const char* title, const char* text, unsigned style, bool owned);
