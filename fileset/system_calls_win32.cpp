#include "fileset/system_calls_win32.h"

static const SystemCalls REAL_CALLS = {
    CloseHandle,
    CopyFileW,
    CreateFileW,
    CreateMutexA,
    DeleteFileW,
    FindClose,
    FindFirstFileExW,
    FindNextFileW,
    FlushFileBuffers,
    GetFileAttributesExW,
    GetFileAttributesW,
    GetFileInformationByHandle,
    GetFinalPathNameByHandleW,
    MoveFileExW,
    MoveFileW,
    ReadFile,
    SetFileAttributesW,
    Sleep,
};

static const SystemCalls* calls = &REAL_CALLS;

const SystemCalls& System() {
    return *calls;
}

void SetSystemCalls(const SystemCalls* standIns) {
    calls = standIns ? standIns : &REAL_CALLS;
}
