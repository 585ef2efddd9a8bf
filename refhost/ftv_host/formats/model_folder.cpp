#include "formats/model_folder.h"

#include <assimp/DefaultIOStream.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace ftv_cli {

namespace {

// Assimp's stream over a file, made from a descriptor opened here.
class FileStream : public Assimp::DefaultIOStream {
public:
    FileStream(std::FILE* file, const std::string& name) : DefaultIOStream(file, name) {}
};

std::string real_path(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

// The absolute path the process opens for path, with "." and ".." taken
// away ("/a/./b/../c" is "/a/c"), links left as they are.
std::string lexically_absolute(const std::string& path) {
    std::string whole = path;
    if (whole.empty() || whole[0] != '/') {
        char here[PATH_MAX];
        whole = std::string(getcwd(here, sizeof here) != nullptr ? here : "") + "/" + whole;
    }
    std::vector<std::string> steps;
    std::size_t start = 0;
    while (start <= whole.size()) {
        std::size_t end = whole.find('/', start);
        if (end == std::string::npos) end = whole.size();
        const std::string step = whole.substr(start, end - start);
        if (step == "..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& step : steps) out += "/" + step;
    return out.empty() ? "/" : out;
}

bool exists(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

}  // namespace

ModelFolder::ModelFolder(const std::string& model) : model_(model) {
    const auto slash = model.find_last_of('/');
    prefix_ = slash == std::string::npos ? "" : model.substr(0, slash + 1);
    folder_ = lexically_absolute(prefix_.empty() ? "." : prefix_);
    if (folder_.back() != '/') folder_ += '/';
    real_folder_ = real_path(prefix_.empty() ? "." : prefix_);
    if (!real_folder_.empty() && real_folder_.back() != '/') real_folder_ += '/';
}

int ModelFolder::open_inside(const std::string& file, std::string& refused) const {
    // As the model wrote it: the readers put the model's folder before it
    // (some do not, and the name is then taken from the working folder).
    const std::string reference = file.compare(0, prefix_.size(), prefix_) == 0 ? file.substr(prefix_.size()) : file;
    if (file != model_) {
        // A file that is not there is missing wherever it is meant to be: the
        // reader says what it missed, as for a file missing in the folder.
        if (!exists(file)) return -1;
        if (lexically_absolute(file).compare(0, folder_.size(), folder_) != 0 || real_folder_.empty()) {
            refused = "refers to \"" + reference + "\", outside the model's folder";
            return -1;
        }
        const std::string real = real_path(file);
        if (real.compare(0, real_folder_.size(), real_folder_) != 0) {
            refused = "refers to \"" + reference + "\", which leads outside the model's folder";
            return -1;
        }
    }
    const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        if (file != model_) refused = "refers to \"" + reference + "\", which is not a file";
        return -1;
    }
    return fd;
}

bool ModelFolder::Exists(const char* file) const {
    std::string refused;
    const int fd = open_inside(file, refused);
    if (fd < 0) return false;
    close(fd);
    return true;
}

Assimp::IOStream* ModelFolder::Open(const char* file, const char* mode) {
    if (std::strpbrk(mode, "wa+") != nullptr) return nullptr;
    std::string refused;
    const int fd = open_inside(file, refused);
    if (fd < 0) {
        if (refusal_.empty()) refusal_ = refused;
        return nullptr;
    }
    std::FILE* stream = fdopen(fd, "rb");
    if (stream == nullptr) {
        close(fd);
        return nullptr;
    }
    return new FileStream(stream, file);
}

void ModelFolder::Close(Assimp::IOStream* stream) { delete stream; }

}  // namespace ftv_cli
