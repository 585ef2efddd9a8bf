#include "formats/named_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "formats/input_error.h"

namespace ftv_cli {

int open_named_file(const std::string& path, Pipes pipes) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) throw InputError(path, "", std::string("cannot open: ") + std::strerror(errno));
    struct stat status {};
    const char* refused = nullptr;
    if (fstat(fd, &status) != 0) refused = "cannot be examined";
    else if (S_ISDIR(status.st_mode)) refused = "a folder, where a file was expected";
    else if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) refused = "a device, where a file was expected";
    else if (S_ISSOCK(status.st_mode)) refused = "a socket, where a file was expected";
    else if (S_ISFIFO(status.st_mode) && pipes == Pipes::refused)
        refused = "a pipe (FIFO), where a file was expected";
    else if (!S_ISREG(status.st_mode) && !S_ISFIFO(status.st_mode)) refused = "not a file";
    if (refused == nullptr && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        refused = "cannot be read";
    if (refused != nullptr) {
        close(fd);
        throw InputError(path, "", refused);
    }
    return fd;
}

}  // namespace ftv_cli
