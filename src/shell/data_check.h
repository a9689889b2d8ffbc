// --check: load a data folder without window, GL or audio and report every
// problem in one pass, with what was read (objects, triangles, vertices).
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct DataCheckReport {
    std::vector<std::string> summary;   // what was read: per scene and per mesh file
    std::vector<std::string> problems;  // each makes the check fail
    std::vector<std::string> warnings;  // likely mistakes that do not stop the show
    std::vector<std::string> notes;     // worth knowing

    void problem(std::string line);
    void warning(std::string line);
    void note(std::string line);
};

// Triangles one section may draw (its scene, plus the scene drawn over it)
// and still keep software GL at the show's 60 frames per second on the
// reference machine (two cores, llvmpipe, 800x600); docs/PERFORMANCE.md says
// how it was measured. Above it the check warns.
constexpr int64_t kSectionTriangleBudget = 60000;

// Checks the data folder under the working directory.
DataCheckReport checkDataFolder();
// Prints the report to `out`; 0 when there is no problem, 1 otherwise.
int runDataCheck(std::ostream& out);
