// The event-file reader of ftv-host on arbitrary bytes: it either reads a
// list of events or rejects the file with an InputError naming the place; any
// other exception, crash or sanitizer report is a fault.
#include <cstdint>
#include <cstdlib>

#include "formats/event_script.h"
#include "input_file.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(ftv_fuzz::remove_input);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ftv_fuzz::write_input(data, size);
    try {
        const std::vector<ftv_cli::Event> events = ftv_cli::read_events(ftv_fuzz::input_path());
        // Errors found while running an event name its place in the file.
        for (const ftv_cli::Event& event : events)
            if (event.where.compare(0, ftv_fuzz::input_path().size(), ftv_fuzz::input_path()) != 0)
                ftv_fuzz::fail("an event does not name its place: " + event.where);
    } catch (const ftv_cli::InputError& error) {
        ftv_fuzz::check_input_error(error.what());
    }
    return 0;
}
