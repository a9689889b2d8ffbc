// Writes the manual page orbelune.6 from the program's own help texts, so
// that the page and --help cannot drift apart.
#include <cstdio>
#include <fstream>

#include "shell/command_line.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: manpage OUTPUT.6\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << manPageText();
    if (!out.flush()) {
        std::fprintf(stderr, "manpage: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
