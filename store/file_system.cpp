#include "store/file_system.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace cgt {

namespace {

FileSystem*& Installed() {
    static FileSystem* files = nullptr;
    return files;
}

} // namespace

int FileSystem::Open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

ssize_t FileSystem::Write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileSystem::Fsync(int fd) {
    return ::fsync(fd);
}

int FileSystem::Fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}

int FileSystem::Close(int fd) {
    return ::close(fd);
}

int FileSystem::Rename(const char* from, const char* to) {
    return std::rename(from, to);
}

int FileSystem::Unlink(const char* path) {
    return ::unlink(path);
}

int FileSystem::Stat(const char* path, struct stat* status) {
    return ::stat(path, status);
}

void SetFileSystem(FileSystem* files) {
    Installed() = files;
}

FileSystem& Files() {
    static FileSystem system;
    FileSystem* files = Installed();
    return files ? *files : system;
}

} // namespace cgt
