// Output files written all or nothing: each goes to a temporary file beside
// its target, and only when every one is complete are they renamed into
// place, so a failed run leaves the previous outputs as they were.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ftv_host {

class OutputFiles {
public:
    ~OutputFiles();  // removes temporaries not committed
    void add(std::string path, std::string content) { files_.emplace_back(std::move(path), std::move(content)); }
    // Writes and renames every file; throws std::runtime_error naming the file that failed.
    void commit();
    const std::vector<std::pair<std::string, std::string>>& files() const { return files_; }

private:
    std::vector<std::pair<std::string, std::string>> files_;
    std::vector<std::string> temporaries_;
};

}  // namespace ftv_host
