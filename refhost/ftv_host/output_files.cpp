#include "output_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include <unistd.h>

namespace ftv_host {

OutputFiles::~OutputFiles() {
    for (const std::string& temporary : temporaries_) std::remove(temporary.c_str());
}

void OutputFiles::commit() {
    for (const auto& [path, content] : files_) {
        const std::filesystem::path parent = std::filesystem::path(path).parent_path();
        std::error_code ignored;
        if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
        const std::string temporary = path + ".tmp-" + std::to_string(getpid());
        temporaries_.push_back(temporary);
        std::FILE* file = std::fopen(temporary.c_str(), "wb");
        const bool written = file != nullptr && std::fwrite(content.data(), 1, content.size(), file) == content.size();
        const int error = errno;
        if (file == nullptr || std::fclose(file) != 0 || !written)
            throw std::runtime_error(path + ": cannot write: " + std::strerror(error));
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (std::rename(temporaries_[i].c_str(), files_[i].first.c_str()) != 0)
            throw std::runtime_error(files_[i].first + ": cannot replace: " + std::strerror(errno));
    }
    temporaries_.clear();
}

}  // namespace ftv_host
