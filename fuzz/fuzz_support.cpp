#include "fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fuzzing {

namespace {
std::string makeScratch() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path dir = base / ("orbelune-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "fuzz harness: cannot create %s\n", dir.c_str());
        std::abort();
    }
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(scratchDir(), ignored);
    });
    return dir.string();
}
}  // namespace

const std::string& scratchDir() {
    // Never destroyed: the exit handler that removes the folder runs after
    // static destructors would have.
    static const std::string* dir = new std::string(makeScratch());
    return *dir;
}

void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) std::abort();
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) std::abort();
        done += static_cast<size_t>(n);
    }
    ::close(fd);
}

void writeFile(const std::string& path, const std::string& text) {
    writeFile(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace fuzzing
