// loadDib: maps a bitmap file read-only, decodes it with decodeDib and turns
// each failure into the decoder's message box (caption "Error", OK only).
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "assets/dib.h"
#include "assets/image.h"
#include "platform/platform.h"

namespace {

// A read-only view of a whole file; empty when it cannot be opened, is empty
// or cannot be mapped.
class MappedFile {
public:
    explicit MappedFile(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
            void* p = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
            if (p != MAP_FAILED) {
                data_ = static_cast<const uint8_t*>(p);
                size_ = static_cast<size_t>(st.st_size);
            }
        }
        ::close(fd);
    }
    ~MappedFile() {
        if (data_) ::munmap(const_cast<uint8_t*>(data_), size_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

void showError(const std::string& text) {
    platform::messageBox(text, "Error", platform::Icon::None, platform::Buttons::Ok);
}

}  // namespace

std::optional<RgbImage> loadDib(const std::string& path) {
    MappedFile file(path);
    if (!file.data()) {
        showError("Failed to open DIB file " + path + ".\n");
        return std::nullopt;
    }
    DibResult result = decodeDib(file.data(), file.size());
    if (!result.image) {
        showError(dibErrorText(result.error));
        return std::nullopt;
    }
    return std::move(result.image);
}
