// Output files written all or nothing, as a set. Each file is first written
// to a temporary beside its target and flushed to the disk; every target is checked to be a file or
// absent; then each existing target is moved aside to a backup and its new
// content renamed into place. When any step fails, the files already placed
// are removed, the backups renamed back and the temporaries deleted, so a
// failed run leaves every earlier output as it was. Only after the last
// rename, and the folders flushed to the disk with it, are the backups
// deleted; one that cannot be put back is kept. A missing folder is created,
// and one that another run creates at the same moment is used as found.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ftv_cli {

class OutputFiles {
public:
    // The rename the commit uses; a test passes one that fails on a chosen call.
    using Rename = int (*)(const char* from, const char* to);
    explicit OutputFiles(Rename rename = nullptr);
    ~OutputFiles();  // removes temporaries and backups of a commit that did not finish
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;

    void add(std::string path, std::string content) { files_.emplace_back(std::move(path), std::move(content)); }
    // Writes and places every file; throws std::runtime_error naming the file
    // that failed and why, after putting everything back.
    void commit();
    const std::vector<std::pair<std::string, std::string>>& files() const { return files_; }

private:
    void write_temporaries();
    void check_targets() const;
    void sync_folders() const;
    // Undoes a commit that placed this many files; says which earlier
    // outputs could not be put back, and where they are kept instead.
    std::string roll_back(std::size_t placed);

    Rename rename_;
    std::vector<std::pair<std::string, std::string>> files_;
    std::vector<std::string> temporaries_;
    std::vector<std::string> backups_;  // per file; empty where the target did not exist
    std::vector<std::string> created_folders_;
};

}  // namespace ftv_cli
