// The texture list reader against the C library: the same bytes, with CR LF
// pairs turned into LF as a text-mode read does, are read with fgets into a
// 99-byte buffer; every read that does not meet the end of the file is one
// entry, its last character dropped and cut at a zero byte, at most 100.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "assets/texture_table.h"

namespace {

std::vector<std::string> referenceEntries(const uint8_t* data, size_t size) {
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') continue;
        text.push_back(static_cast<char>(data[i]));
    }
    std::vector<std::string> entries;
    if (text.empty()) return entries;
    FILE* f = fmemopen(text.data(), text.size(), "r");
    if (!f) std::abort();
    char buffer[99];
    while (entries.size() < size_t(kTextureTableSize)) {
        const long before = std::ftell(f);
        if (!std::fgets(buffer, sizeof buffer, f) || std::feof(f)) break;
        const size_t got = size_t(std::ftell(f) - before);  // zero bytes included
        std::string read(buffer, got);
        read.pop_back();
        entries.push_back(read.substr(0, read.find('\0')));
    }
    std::fclose(f);
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const std::vector<std::string> entries = readTextureList(in);
    if (entries != referenceEntries(data, size)) std::abort();
    for (const std::string& entry : entries)
        if (entry.size() > 97 || entry.find('\n') != std::string::npos) std::abort();
    return 0;
}
