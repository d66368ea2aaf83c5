#include "platform/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Closes the descriptor on every path; the mapping outlives it.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

std::unique_ptr<MappedFile> MappedFile::Open(const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0)
        return nullptr;
    const size_t size = size_t(info.st_size);
    void* data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE, fd.get(), 0);
    if (data == MAP_FAILED) return nullptr;
    return std::unique_ptr<MappedFile>(new MappedFile(static_cast<uint8_t*>(data), size));
}

MappedFile::~MappedFile() {
    ::munmap(m_data, m_size);
}

void MappedFile::DropPages(size_t offset, size_t length) const {
    if (offset >= m_size) return;
    if (length > m_size - offset) length = m_size - offset;
    const size_t page = size_t(::sysconf(_SC_PAGESIZE));
    const size_t first = (offset + page - 1) / page * page;
    const size_t end = (offset + length) / page * page;
    if (end > first) ::madvise(m_data + first, end - first, MADV_DONTNEED);
}

}  // namespace platform
