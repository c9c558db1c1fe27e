#pragma once

#include <string>

namespace tessarin::exporter {

// A new empty file beside target (".<target name>.XXXXXX"), removed again when the
// object goes away unless it was renamed into place.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& target);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    [[nodiscard]] const std::string& name() const { return name_; }
    // Gives the file the permissions a new file (or the existing target) would have,
    // and renames it onto target. Throws FileError naming target.
    void moveOnto(const std::string& target);

private:
    std::string name_;
    bool moved_ = false;
};

} // namespace tessarin::exporter
