#pragma once

#include "fileset/failure_policy.h"

// Messages of several lines, composed in the message-text work area and discarded after use.

// Lines joined by single line feeds; an empty entry yields an empty line. Answers the
// button chosen.
int ShowLines(const char* title, const char* const* lines, int count, unsigned style);
template <int N> int ShowLines(const char* title, const char* const (&lines)[N], unsigned style) {
    return ShowLines(title, lines, N, style);
}

// At most this many files are named in a message; the rest are counted.
constexpr int REPORTED_FILES_LIMIT = 10;

// One error message: the first line, an empty line, the files one to a line with a short
// reason, an empty line, one line of advice for each reason among them and last the step
// that is open to the player now.
void ShowFailureReport(const char* firstLine, const FailedFiles* failed, const char* nextStep);
