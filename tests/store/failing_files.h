#pragma once
// A file system that passes every call to the system's, except that the Nth call (and, when
// asked, every call after it) fails with a chosen error, and calls on chosen paths fail.

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "store/file_system.h"

namespace cgt::test {

class FailingFiles : public FileSystem {
public:
    FailingFiles() { SetFileSystem(this); }
    ~FailingFiles() override { SetFileSystem(nullptr); }
    FailingFiles(const FailingFiles&) = delete;
    FailingFiles& operator=(const FailingFiles&) = delete;

    int failAt = 0;          // 1-based number of the call that fails; 0 for none
    bool failOnward = false; // every call from failAt on fails
    int error = EIO;
    std::map<std::string, int> statErrors; // path → the error stat gives for it
    bool failFolderSync = false;           // fsync of an opened folder fails with `error`

    int calls = 0;
    std::vector<std::string> log; // "open NAME", "write", … in call order
    int failed = 0;               // calls made to fail

    int Open(const char* path, int flags, mode_t mode) override {
        if (Fails("open " + std::string(path))) return -1;
        const int fd = FileSystem::Open(path, flags, mode);
        if (fd >= 0 && (flags & O_DIRECTORY)) folders_.push_back(fd);
        return fd;
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        if (Fails("write")) return -1;
        return FileSystem::Write(fd, data, size);
    }
    int Fsync(int fd) override {
        if (Fails("fsync")) return -1;
        if (failFolderSync && IsFolder(fd)) {
            ++failed;
            errno = error;
            return -1;
        }
        return FileSystem::Fsync(fd);
    }
    int Fchmod(int fd, mode_t mode) override {
        if (Fails("fchmod")) return -1;
        return FileSystem::Fchmod(fd, mode);
    }
    int Close(int fd) override {
        std::erase(folders_, fd);
        // A failed close still releases the descriptor, as the system's does.
        if (Fails("close")) {
            FileSystem::Close(fd);
            errno = error;
            return -1;
        }
        return FileSystem::Close(fd);
    }
    int Rename(const char* from, const char* to) override {
        if (Fails("rename " + std::string(from) + " " + to)) return -1;
        return FileSystem::Rename(from, to);
    }
    int Unlink(const char* path) override {
        if (Fails("unlink " + std::string(path))) return -1;
        return FileSystem::Unlink(path);
    }
    int Stat(const char* path, struct stat* status) override {
        if (Fails("stat " + std::string(path))) return -1;
        if (auto it = statErrors.find(path); it != statErrors.end()) {
            ++failed;
            errno = it->second;
            return -1;
        }
        return FileSystem::Stat(path, status);
    }

private:
    bool Fails(std::string call) {
        ++calls;
        log.push_back(std::move(call));
        if (failAt == 0 || calls < failAt || (calls > failAt && !failOnward)) return false;
        ++failed;
        errno = error;
        return true;
    }
    bool IsFolder(int fd) const {
        for (int f : folders_)
            if (f == fd) return true;
        return false;
    }

    std::vector<int> folders_;
};

} // namespace cgt::test
