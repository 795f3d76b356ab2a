#pragma once
// An open file descriptor, closed with its owner.

#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace quillet {

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor &operator=(FileDescriptor &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    /// Another descriptor of the same open file, not inherited by child
    /// processes; closed when none is left.
    FileDescriptor duplicate() const
    {
        return FileDescriptor(isOpen() ? ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0) : -1);
    }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

} // namespace quillet
