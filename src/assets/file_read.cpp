// readFileBounded: stat first (following links) so that a FIFO, a device or
// a socket is refused without being opened; then open without blocking and
// check the kind again on the open file (the path may have changed in
// between), and read with plain read(2) calls up to the size seen at open.
// A file that grows while it is read is cut at that size; one that shrinks
// gives what was there.
#include "assets/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool regularFile(const struct stat& st) { return S_ISREG(st.st_mode) && st.st_size >= 0; }

}  // namespace

FileBytes readFileBounded(const std::string& path, size_t cap, OverCap overCap) {
    FileBytes out;
    out.error = FileReadError::CannotOpen;
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !regularFile(st)) return out;

    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !regularFile(st)) return out;

    out.sizeAtOpen = static_cast<uint64_t>(st.st_size);
    size_t want = cap;
    if (out.sizeAtOpen <= cap) {
        want = static_cast<size_t>(out.sizeAtOpen);
    } else if (overCap == OverCap::Refuse) {
        out.error = FileReadError::TooLarge;
        return out;
    }

    try {
        out.bytes.resize(want);
    } catch (const std::bad_alloc&) {
        out.bytes = {};
        return out;  // cannot open: no memory to hold it
    }
    size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd.get(), out.bytes.data() + got, want - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.bytes = {};
            return out;
        }
        if (n == 0) break;  // the file shrank since it was opened
        got += static_cast<size_t>(n);
    }
    out.bytes.resize(got);
    out.error = FileReadError::None;
    return out;
}

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && regularFile(st);
}

std::string capText(size_t cap) {
    if (cap >= (size_t{1} << 20) && cap % (size_t{1} << 20) == 0) return std::to_string(cap >> 20) + " MiB";
    if (cap >= (size_t{1} << 10) && cap % (size_t{1} << 10) == 0) return std::to_string(cap >> 10) + " KiB";
    return std::to_string(cap) + " bytes";
}
