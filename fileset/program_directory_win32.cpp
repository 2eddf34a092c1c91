#include "fileset/program_directory_win32.h"
#include "fileset/link_check_win32.h"

#include <windows.h>

// The longest path the wide-character API accepts.
static wchar_t programDirectory[32768];
// Each UTF-16 unit takes at most three bytes.
static char programDirectoryUtf8[3 * 32768];

const wchar_t* ProgramDirectoryPath() {
    return programDirectory;
}

const char* ProgramDirectoryUtf8() {
    return programDirectoryUtf8;
}

bool LocateProgramDirectory() {
    ForgetDirectoryFinalPaths();
    const DWORD capacity = sizeof programDirectory / sizeof programDirectory[0];
    DWORD length = GetModuleFileNameW(nullptr, programDirectory, capacity);
    // A result that fills the buffer has been cut short.
    if (length == 0 || length >= capacity) {
        programDirectory[0] = L'\0';
        return false;
    }
    for (DWORD i = length; i > 0; --i) {
        if (programDirectory[i - 1] == L'\\') {
            programDirectory[i] = L'\0';
            return WideCharToMultiByte(CP_UTF8, 0, programDirectory, -1, programDirectoryUtf8,
                                       static_cast<int>(sizeof programDirectoryUtf8), nullptr,
                                       nullptr) != 0;
        }
    }
    programDirectory[0] = L'\0';
    return false;
}
