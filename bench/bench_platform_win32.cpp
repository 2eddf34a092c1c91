#include "bench/bench_platform.h"

#include "fileset/program_directory_win32.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <windows.h>

const char BARE_RENAME_CALL[] = "MoveFileW";
const char BARE_COPY_CALL[] = "CopyFileW";
const char BARE_FLUSH_CALL[] = "FlushFileBuffers";
const char BARE_REPLACE_CALL[] = "MoveFileExW";
const char BUILD_NAME[] = "Windows";

// The program works in the directory of its own file, so the benchmark runs a copy of
// itself placed in a fresh directory; this argument marks the copy.
static const char IN_PLACE[] = "--in-place";

bool BareRename(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileW(from.c_str(), to.c_str());
}

bool BareCopy(const std::filesystem::path& from, const std::filesystem::path& to) {
    return CopyFileW(from.c_str(), to.c_str(), FALSE);
}

bool BareFlush(const std::filesystem::path& file) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    bool flushed = FlushFileBuffers(handle) != FALSE;
    return CloseHandle(handle) && flushed;
}

bool BareReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING);
}

static std::filesystem::path OwnFile() {
    wchar_t path[32768];
    DWORD length = GetModuleFileNameW(nullptr, path, sizeof path / sizeof path[0]);
    return length > 0 && length < sizeof path / sizeof path[0] ? path : L"";
}

static int RunCopyIn(const std::filesystem::path& dir) {
    std::filesystem::path program = dir / OwnFile().filename();
    if (!CopyFileW(OwnFile().c_str(), program.c_str(), TRUE))
        return 1;
    std::wstring commandLine = L"\"" + program.wstring() + L"\" --in-place";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process;
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                        dir.c_str(), &startup, &process))
        return 1;
    DWORD exitCode = 1;
    if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.hProcess, &exitCode))
        exitCode = 1;
    (void)CloseHandle(process.hThread);
    (void)CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

int RunInFreshGameDirectory(int argc, char** argv, int (*body)(const std::filesystem::path& dir)) {
    if (argc > 1 && std::strcmp(argv[1], IN_PLACE) == 0)
        return LocateProgramDirectory() ? body(OwnFile().parent_path()) : 1;
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("tauschwerk-bench-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(dir);
    std::fflush(stdout);
    int result = RunCopyIn(dir);
    // The copy's file may stay locked for a moment after it has ended.
    std::error_code error;
    for (int attempt = 0; attempt < 50; ++attempt) {
        std::filesystem::remove_all(dir, error);
        if (!error)
            break;
        Sleep(100);
    }
    return result;
}
