#pragma once
// The few file-system calls that saving a data file makes, behind one interface so that a test
// can make any of them fail. Each call behaves as the POSIX call of the same name: -1 with
// errno set on failure.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

namespace cgt {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual int Open(const char* path, int flags, mode_t mode);
    virtual ssize_t Write(int fd, const void* data, std::size_t size);
    virtual int Fsync(int fd);
    virtual int Fchmod(int fd, mode_t mode);
    virtual int Close(int fd);
    virtual int Rename(const char* from, const char* to);
    virtual int Unlink(const char* path);
    virtual int Stat(const char* path, struct stat* status);
};

// The file system used from now on; nullptr returns to the system's own.
void SetFileSystem(FileSystem* files);
FileSystem& Files();

} // namespace cgt
