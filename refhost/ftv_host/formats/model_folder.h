// The files a model may read: the model file itself and the files under its
// own folder. Every file Assimp's readers open goes through this IOSystem
// (Importer::SetIOHandler): a buffer of a glTF file, an OBJ file's materials,
// the parts of a Zip archive. Anything else is refused and remembered:
// absolute paths, "../" out of the folder, a symbolic link that leads out,
// and, inside, whatever is not a file (a folder, a device, a FIFO). A file
// that does not exist is only missing, wherever it would be. Nothing is
// written, created or removed.
#pragma once

#include <assimp/IOSystem.hpp>

#include <string>

namespace ftv_cli {

class ModelFolder : public Assimp::IOSystem {
public:
    explicit ModelFolder(const std::string& model);

    bool Exists(const char* file) const override;
    char getOsSeparator() const override { return '/'; }
    Assimp::IOStream* Open(const char* file, const char* mode) override;
    void Close(Assimp::IOStream* stream) override;
    bool ChangeDirectory(const std::string&) override { return false; }
    bool CreateDirectory(const std::string&) override { return false; }
    bool DeleteFile(const std::string&) override { return false; }

    // Why the first file refused was refused, in words that name it as the
    // model does ("refers to \"../x.bin\", outside the model's folder"); empty
    // when none was.
    const std::string& refusal() const { return refusal_; }

private:
    // An open descriptor of file, or -1 with why in refused (empty for a
    // file that does not exist).
    int open_inside(const std::string& file, std::string& refused) const;

    std::string model_;
    std::string prefix_;       // the folder as the model's path names it: "", "models/", "/a/b/"
    std::string folder_;       // the folder as an absolute path, ending in "/"
    std::string real_folder_;  // the folder with its links resolved, ending in "/"
    std::string refusal_;
};

}  // namespace ftv_cli
