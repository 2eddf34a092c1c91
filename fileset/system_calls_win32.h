#pragma once

#include <windows.h>

// The system calls beneath the file primitives and the directory lock, in one table, so that
// a test can answer as Windows does where Wine does not: a delete still pending, a read-only
// target refused, a reparse point, a link's final path, a refused flush, the name a lock is
// made under. Only calls that reach the system are here; a stand-in sets the thread's last
// error as the call it stands for would.
struct SystemCalls {
    decltype(&::CloseHandle) CloseHandle;
    decltype(&::CopyFileW) CopyFileW;
    decltype(&::CreateFileW) CreateFileW;
    decltype(&::CreateMutexA) CreateMutexA;
    decltype(&::DeleteFileW) DeleteFileW;
    decltype(&::FindClose) FindClose;
    decltype(&::FindFirstFileExW) FindFirstFileExW;
    decltype(&::FindNextFileW) FindNextFileW;
    decltype(&::FlushFileBuffers) FlushFileBuffers;
    decltype(&::GetFileAttributesExW) GetFileAttributesExW;
    decltype(&::GetFileAttributesW) GetFileAttributesW;
    decltype(&::GetFileInformationByHandle) GetFileInformationByHandle;
    decltype(&::GetFinalPathNameByHandleW) GetFinalPathNameByHandleW;
    decltype(&::MoveFileExW) MoveFileExW;
    decltype(&::MoveFileW) MoveFileW;
    BOOL(WINAPI* ReadFile)
    (HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED); // the test ReadFile differs
    decltype(&::SetFileAttributesW) SetFileAttributesW;
    decltype(&::Sleep) Sleep;
};

// The calls in use: the real ones unless a test has set others.
const SystemCalls& System();
// Test seam: the program itself never calls it. nullptr brings the real calls back.
void SetSystemCalls(const SystemCalls* calls);
