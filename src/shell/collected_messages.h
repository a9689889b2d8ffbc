// Loading without message boxes: while a CollectedMessages lives, every box
// the loaders would show becomes a line "caption: text" in `lines`, and a
// loader that would end the process throws LoaderAbort instead. Used by the
// data check and the inspector, which report problems rather than stop.
#pragma once

#include <string>
#include <vector>

struct LoaderAbort {
    int code = 1;  // 1; the exit status the loader asked for
};

class CollectedMessages {
public:
    CollectedMessages();
    ~CollectedMessages();
    CollectedMessages(const CollectedMessages&) = delete;
    CollectedMessages& operator=(const CollectedMessages&) = delete;

    std::vector<std::string> lines;  // in the order the boxes came
};
