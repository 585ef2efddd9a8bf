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

// The reference with "." and ".." taken away ("a/./b/../c" is "a/c"), or
// empty when it is absolute or climbs out of its start.
std::string lexically_inside(const std::string& reference) {
    if (reference.empty() || reference[0] == '/') return "";
    std::vector<std::string> steps;
    std::size_t start = 0;
    while (start <= reference.size()) {
        std::size_t end = reference.find('/', start);
        if (end == std::string::npos) end = reference.size();
        const std::string step = reference.substr(start, end - start);
        if (step == "..") {
            if (steps.empty()) return "";
            steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& step : steps) out += (out.empty() ? "" : "/") + step;
    return out;
}

}  // namespace

ModelFolder::ModelFolder(const std::string& model) : model_(model) {
    const auto slash = model.find_last_of('/');
    prefix_ = slash == std::string::npos ? "" : model.substr(0, slash + 1);
    real_folder_ = real_path(prefix_.empty() ? "." : prefix_);
    if (!real_folder_.empty() && real_folder_.back() != '/') real_folder_ += '/';
}

int ModelFolder::open_inside(const std::string& file, std::string& refused) const {
    std::string path = file;
    if (file != model_) {
        // As the model wrote it: the readers put the model's folder before it.
        const std::string reference = file.compare(0, prefix_.size(), prefix_) == 0 ? file.substr(prefix_.size()) : file;
        const std::string inside = lexically_inside(reference);
        if (inside.empty() || real_folder_.empty()) {
            refused = "refers to \"" + reference + "\", outside the model's folder";
            return -1;
        }
        path = prefix_ + inside;
        const std::string real = real_path(path);
        if (real.empty()) return -1;  // no such file: the reader says what it missed
        if (real.compare(0, real_folder_.size(), real_folder_) != 0) {
            refused = "refers to \"" + reference + "\", which leads outside the model's folder";
            return -1;
        }
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        if (file != model_) refused = "refers to \"" + file.substr(prefix_.size()) + "\", which is not a file";
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
