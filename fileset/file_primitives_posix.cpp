#include "fileset/file_platform.h"
#include "fileset/program_directory_posix.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Game files are named as on Windows, where names match without regard to ASCII case, so
// each component is looked up exactly first and by a directory scan only when missing.

static bool SameNameIgnoringCase(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return a[length] == '\0';
}

// path holds a directory of directoryLength characters (ending in '/') followed by one name;
// replaces the name by an existing name that differs from it only in letter case. Answers
// whether the name found is a symbolic link.
static bool MatchExistingName(char* path, size_t directoryLength) {
    struct stat status;
    if (lstat(path, &status) == 0)
        return S_ISLNK(status.st_mode);
    if (errno != ENOENT)
        return false;
    char* name = path + directoryLength;
    size_t nameLength = std::strlen(name);
    char saved = *name;
    *name = '\0';
    DIR* directory = opendir(path);
    *name = saved;
    if (!directory)
        return false;
    bool found = false;
    while (struct dirent* entry = readdir(directory)) {
        if (SameNameIgnoringCase(entry->d_name, name, nameLength)) {
            std::memcpy(name, entry->d_name, nameLength);
            found = true;
            break;
        }
    }
    closedir(directory);
    return found && lstat(path, &status) == 0 && S_ISLNK(status.st_mode);
}

// Joins a relative, backslash separated path to the program directory, component by
// component; throughLink tells whether one of them is a symbolic link. Sets errno and
// answers false when it cannot.
static bool ResolvePath(const char* relative, char* out, bool* throughLink = nullptr) {
    bool link = false;
    const char* directory = ProgramDirectoryPath();
    size_t length = std::strlen(directory);
    if (length == 0) {
        errno = EINVAL;
        return false;
    }
    std::memcpy(out, directory, length);
    const char* component = relative;
    while (*component) {
        const char* end = component;
        while (*end && *end != '\\' && *end != '/')
            ++end;
        size_t componentLength = static_cast<size_t>(end - component);
        if (length + componentLength + 1 >= PATH_MAX) {
            errno = ENAMETOOLONG;
            return false;
        }
        if (componentLength > 0) {
            std::memcpy(out + length, component, componentLength);
            out[length + componentLength] = '\0';
            link = MatchExistingName(out, length) || link;
            length += componentLength;
            if (*end)
                out[length++] = '/';
        }
        component = *end ? end + 1 : end;
    }
    out[length] = '\0';
    if (throughLink)
        *throughLink = link;
    return true;
}

int PlatformProbe(const char* path) {
    char hostPath[PATH_MAX];
    struct stat status;
    bool link = false;
    if (!ResolvePath(path, hostPath, &link) || lstat(hostPath, &status) != 0)
        return errno == ENOENT || errno == ENOTDIR ? PROBE_MISSING : PROBE_UNREADABLE;
    if (link)
        return PROBE_LINK;
    if (S_ISDIR(status.st_mode))
        return PROBE_DIRECTORY;
    if (status.st_size < 0 || status.st_size > PROBE_SIZE_LIMIT)
        return PROBE_SIZE_LIMIT;
    return static_cast<int>(status.st_size);
}

static NameLook LookAt(int directory, const char* name) {
    struct stat status;
    if (fstatat(directory, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return {NameKind::Unreadable, PlatformFailure()};
    if (S_ISLNK(status.st_mode))
        return {NameKind::Link, FileFailure::None};
    if (S_ISDIR(status.st_mode))
        return {NameKind::Directory, FileFailure::None};
    if (S_ISREG(status.st_mode))
        return {NameKind::File, FileFailure::None};
    return {NameKind::Unreadable, FileFailure::Other}; // a device, a pipe: no game file
}

bool PlatformListFolder(const char* folder, EntryPlace place, void* context) {
    char hostPath[PATH_MAX];
    bool link = false;
    if (!ResolvePath(folder, hostPath, &link))
        return false;
    DIR* directory = opendir(hostPath);
    if (!directory)
        return false;
    errno = 0;
    while (struct dirent* entry = readdir(directory)) {
        NameLook* look = place(context, entry->d_name);
        if (look)
            *look = link ? NameLook{NameKind::Link, FileFailure::None}
                         : LookAt(dirfd(directory), entry->d_name);
        errno = 0;
    }
    int error = errno;
    (void)closedir(directory); // a listing that was read whole stands
    errno = error;
    return error == 0;
}

bool PlatformMayOverwrite(const char* path) {
    char hostPath[PATH_MAX];
    struct stat status;
    if (!ResolvePath(path, hostPath))
        return true;
    if (lstat(hostPath, &status) != 0)
        return errno == ENOENT || errno == ENOTDIR;
    return S_ISREG(status.st_mode);
}

// Closes fd without letting close() overwrite the errno of the failure being reported.
static void CloseKeepingErrno(int fd) {
    int saved = errno;
    (void)close(fd);
    errno = saved;
}

static bool CopyContents(int source, int target) {
    for (;;) {
        ssize_t copied = copy_file_range(source, nullptr, target, nullptr, 1 << 30, 0);
        if (copied == 0)
            return true;
        if (copied > 0)
            continue;
        if (errno == EINTR)
            continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL)
            break;
        return false;
    }
    // No in-kernel copy between these files: copy through a buffer from where it stopped.
    char buffer[65536];
    for (;;) {
        ssize_t got = read(source, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            ssize_t written = write(target, buffer + done, static_cast<size_t>(got - done));
            if (written < 0 && errno != EINTR)
                return false;
            if (written > 0)
                done += written;
        }
    }
}

bool PlatformCopy(const char* source, const char* target) {
    char sourcePath[PATH_MAX];
    char targetPath[PATH_MAX];
    if (!ResolvePath(source, sourcePath) || !ResolvePath(target, targetPath))
        return false;
    int input = open(sourcePath, O_RDONLY | O_CLOEXEC);
    if (input < 0)
        return false;
    struct stat status;
    if (fstat(input, &status) != 0) {
        CloseKeepingErrno(input);
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        (void)close(input);
        errno = EISDIR;
        return false;
    }
    // A leftover target may be read-only, as its source was: start it afresh.
    if (unlink(targetPath) != 0 && errno != ENOENT) {
        CloseKeepingErrno(input);
        return false;
    }
    int output = open(targetPath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (output < 0) {
        CloseKeepingErrno(input);
        return false;
    }
    bool copied = CopyContents(input, output) && fchmod(output, status.st_mode & 07777) == 0;
    if (close(output) != 0)
        copied = false;
    CloseKeepingErrno(input);
    return copied;
}

// Reads up to size bytes, fewer only at the end of the file; -1 on a failure.
static ssize_t ReadFull(int fd, char* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t got = read(fd, buffer + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool PlatformCompare(const char* first, const char* second, bool* same) {
    char paths[2][PATH_MAX];
    int fds[2] = {-1, -1};
    bool opened = ResolvePath(first, paths[0]) && ResolvePath(second, paths[1]) &&
                  (fds[0] = open(paths[0], O_RDONLY | O_CLOEXEC)) >= 0 &&
                  (fds[1] = open(paths[1], O_RDONLY | O_CLOEXEC)) >= 0;
    static char buffers[2][65536];
    bool read = opened;
    *same = true;
    while (read && *same) {
        ssize_t got[2] = {ReadFull(fds[0], buffers[0], sizeof buffers[0]),
                          ReadFull(fds[1], buffers[1], sizeof buffers[1])};
        read = got[0] >= 0 && got[1] >= 0;
        *same = read && got[0] == got[1] &&
                std::memcmp(buffers[0], buffers[1], static_cast<size_t>(got[0])) == 0;
        if (read && got[0] == 0)
            break;
    }
    for (int fd : fds) {
        if (fd >= 0)
            CloseKeepingErrno(fd);
    }
    return read;
}

// A descriptor opened only for reading flushes as well on Linux, and opens on a read-only
// file.
static bool FlushHostPath(const char* hostPath, int flags) {
    int fd = open(hostPath, O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0)
        return false;
    bool flushed = fsync(fd) == 0;
    if (!flushed)
        CloseKeepingErrno(fd);
    else if (close(fd) != 0)
        flushed = false;
    return flushed;
}

bool PlatformFlush(const char* path) {
    char hostPath[PATH_MAX];
    return ResolvePath(path, hostPath) && FlushHostPath(hostPath, 0);
}

bool PlatformFlushDirectory() {
    return FlushHostPath(ProgramDirectoryPath(), O_DIRECTORY);
}

bool PlatformReplace(const char* source, const char* target) {
    char sourcePath[PATH_MAX];
    char targetPath[PATH_MAX];
    return ResolvePath(source, sourcePath) && ResolvePath(target, targetPath) &&
           rename(sourcePath, targetPath) == 0;
}

// For file systems without RENAME_NOREPLACE: a hard link cannot replace either.
static bool RenameByLink(const char* sourcePath, const char* targetPath) {
    struct stat status;
    if (lstat(sourcePath, &status) != 0)
        return false;
    if (S_ISDIR(status.st_mode)) {
        errno = EOPNOTSUPP;
        return false;
    }
    if (link(sourcePath, targetPath) != 0)
        return false;
    if (unlink(sourcePath) != 0) {
        int saved = errno;
        (void)unlink(targetPath);
        errno = saved;
        return false;
    }
    return true;
}

bool PlatformRename(const char* source, const char* target) {
    char sourcePath[PATH_MAX];
    char targetPath[PATH_MAX];
    if (!ResolvePath(source, sourcePath) || !ResolvePath(target, targetPath))
        return false;
    if (renameat2(AT_FDCWD, sourcePath, AT_FDCWD, targetPath, RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EINVAL || errno == ENOSYS)
        return RenameByLink(sourcePath, targetPath);
    return false;
}

bool PlatformDelete(const char* path) {
    char hostPath[PATH_MAX];
    return ResolvePath(path, hostPath) && unlink(hostPath) == 0;
}

// Nothing here holds a file for a moment: every call answers at once.
void StartRetryBudget() {}

FileFailure PlatformFailure() {
    switch (errno) {
    case ENOENT:
    case ENOTDIR:
        return FileFailure::Missing;
    case EEXIST:
    case ENOTEMPTY:
        return FileFailure::Exists;
    case EBUSY:
    case ETXTBSY:
        return FileFailure::InUse;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileFailure::AccessDenied;
    case ENOSPC:
    case EDQUOT:
        return FileFailure::DiskFull;
    default:
        return FileFailure::Other;
    }
}
