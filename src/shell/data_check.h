// --check: load a data folder without window, GL or audio and report every
// problem in one pass.
#pragma once

#include <ostream>
#include <string>
#include <vector>

struct DataCheckReport {
    std::vector<std::string> problems;  // each makes the check fail
    std::vector<std::string> notes;     // worth knowing, not failures

    void problem(std::string line);
    void note(std::string line);
};

// Checks the data folder under the working directory.
DataCheckReport checkDataFolder();
// Prints the report to `out`; 0 when there is no problem, 1 otherwise.
int runDataCheck(std::ostream& out);
