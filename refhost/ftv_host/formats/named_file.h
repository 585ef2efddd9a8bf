// Opening a file the user named, whatever it is: a name may stand for a
// folder, a device, a socket or a named pipe (FIFO) as well as a file.
#pragma once

#include <string>

namespace ftv_cli {

enum class Pipes { refused, read };

// An open descriptor of the file at path, for reading, which the caller
// closes. Opening never waits (a FIFO without a writer would block an open
// of its own), and what the name stands for is told at once: InputError for
// a name that cannot be opened, a folder, a device, a socket and, unless
// pipes are read, a pipe. A pipe that is read is read to its end as a
// stream, which ends at once for a FIFO no writer has open.
int open_named_file(const std::string& path, Pipes pipes);

}  // namespace ftv_cli
