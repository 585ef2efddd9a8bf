// Reading a model in a process of its own. Assimp's readers can crash, abort
// on an assertion, loop for ever or ask for all the memory there is when a
// file is damaged; none of that may take ftv-host with it. The child process
// runs under limits of address space, processor time and, watched from here,
// wall-clock time, with its standard output and error (where Assimp's log
// goes) captured. What it answers is only bytes to the caller, who checks
// them as it reads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace ftv_cli {

struct ImporterLimits {
    double seconds = 10;                  // wall-clock and processor time
    std::uint64_t memory = 2ull << 30;    // address space beyond what ftv-host already has
};

// The limits for a model file: 10 s plus 1 s per whole MB of the file unless
// seconds are given.
ImporterLimits limits_for(const std::string& file, double seconds = 0);

// Runs work in a child process and returns what it wrote to the descriptor it
// is given (a file in memory, no larger than the memory limit). When the child does not end normally (a signal, a limit), throws
// InputError naming file: "the importer stopped: ..." with what stopped it and
// the last useful line Assimp's log gave.
std::string run_importer(const std::string& file, const ImporterLimits& limits,
                         const std::function<void(int answer)>& work);

// "the importer stopped: <what>[; Assimp's last message: <line>]"
std::string importer_stopped(const std::string& what, const std::string& log = "");
// The words for a reader that asked for more memory than the limit.
std::string needed_more_memory(const ImporterLimits& limits);

}  // namespace ftv_cli
