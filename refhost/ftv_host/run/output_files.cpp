#include "run/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace ftv_cli {

namespace {

namespace fs = std::filesystem;

// Hidden names beside the target, unique to this process.
std::string beside(const std::string& path, const char* what) {
    const fs::path p(path);
    return (p.parent_path() / ("." + p.filename().string() + "." + what + "-" + std::to_string(getpid()))).string();
}

std::runtime_error failure(const std::string& path, const std::string& what, int error, const std::string& then = "") {
    return std::runtime_error(path + ": " + what + (error != 0 ? std::string(": ") + std::strerror(error) : "") + then);
}

}  // namespace

OutputFiles::OutputFiles(Rename rename) : rename_(rename != nullptr ? rename : std::rename) {}

OutputFiles::~OutputFiles() {
    for (const std::string& temporary : temporaries_) std::remove(temporary.c_str());
    for (const std::string& backup : backups_)
        if (!backup.empty()) std::remove(backup.c_str());
}

void OutputFiles::write_temporaries() {
    for (const auto& [path, content] : files_) {
        // Folders to create, outermost first, so that a failure removes just these.
        std::vector<fs::path> missing;
        for (fs::path parent = fs::path(path).parent_path(); !parent.empty() && !fs::exists(parent);
             parent = parent.parent_path())
            missing.insert(missing.begin(), parent);
        for (const fs::path& folder : missing) {
            // Another run may create it between the look and the making: then it is theirs.
            std::error_code error;
            const bool made = fs::create_directory(folder, error);
            if (!made && !fs::is_directory(folder))
                throw failure(folder.string(), "cannot create the folder", error.value());
            if (made) created_folders_.push_back(folder.string());
        }
        const std::string temporary = beside(path, "new");
        temporaries_.push_back(temporary);
        std::FILE* file = std::fopen(temporary.c_str(), "wb");
        if (file == nullptr) throw failure(path, "cannot write", errno);
        // On the disk before it replaces anything, so that a crash leaves the earlier file or this one whole.
        const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size() &&
                             std::fflush(file) == 0 && fsync(fileno(file)) == 0;
        const int error = errno;
        if (std::fclose(file) != 0 || !written) throw failure(path, "cannot write", written ? errno : error);
    }
}

// A folder or a device where an output belongs is not replaced: found before
// anything is moved, so that nothing needs putting back.
void OutputFiles::check_targets() const {
    for (const auto& file : files_) {
        struct stat status {};
        if (lstat(file.first.c_str(), &status) != 0) {
            if (errno == ENOENT) continue;
            throw failure(file.first, "cannot replace", errno);
        }
        if (S_ISDIR(status.st_mode)) throw failure(file.first, "a folder is in the way of this output file", 0);
        if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode))
            throw failure(file.first, "something other than a file is in the way of this output file", 0);
    }
}

std::string OutputFiles::roll_back(std::size_t placed) {
    // Files placed so far go; their backups come back. A backup that cannot
    // be renamed back is kept, never deleted, and named in the error.
    std::string kept;
    const auto restore = [&](std::size_t i) {
        if (backups_[i].empty()) return;
        if (rename_(backups_[i].c_str(), files_[i].first.c_str()) != 0)
            kept += "; the earlier " + files_[i].first + " is kept as " + backups_[i];
        backups_[i].clear();
    };
    for (std::size_t i = placed; i-- > 0;) {
        if (backups_[i].empty()) std::remove(files_[i].first.c_str());
        restore(i);
    }
    // A backup moved aside for the file that failed.
    if (placed < backups_.size()) restore(placed);
    for (const std::string& temporary : temporaries_) std::remove(temporary.c_str());
    temporaries_.clear();
    for (auto folder = created_folders_.rbegin(); folder != created_folders_.rend(); ++folder) {
        std::error_code ignored;
        fs::remove(*folder, ignored);  // only when empty
    }
    created_folders_.clear();
    return kept;
}

// The renames on the disk too: each folder that holds an output, once.
void OutputFiles::sync_folders() const {
    std::vector<std::string> folders;
    for (const auto& file : files_) {
        const std::string folder = fs::path(file.first).parent_path().string();
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    }
    for (const std::string& folder : folders) {
        const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) continue;
        fsync(fd);
        close(fd);
    }
}

void OutputFiles::commit() {
    try {
        write_temporaries();
        check_targets();
    } catch (...) {
        backups_.assign(files_.size(), "");
        roll_back(0);
        throw;
    }
    backups_.assign(files_.size(), "");
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const std::string& path = files_[i].first;
        if (fs::symlink_status(path).type() != fs::file_type::not_found) {
            const std::string backup = beside(path, "old");
            if (rename_(path.c_str(), backup.c_str()) != 0) {
                const int error = errno;
                const std::string kept = roll_back(i);
                throw failure(path, "cannot replace", error, kept);
            }
            backups_[i] = backup;
        }
        if (rename_(temporaries_[i].c_str(), path.c_str()) != 0) {
            const int error = errno;
            const std::string kept = roll_back(i);
            throw failure(path, "cannot replace", error, kept);
        }
    }
    temporaries_.clear();
    sync_folders();
    for (std::string& backup : backups_) {
        if (!backup.empty()) std::remove(backup.c_str());
        backup.clear();
    }
    created_folders_.clear();
}

}  // namespace ftv_cli
