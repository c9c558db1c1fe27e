#pragma once

#include <fstream>
#include <string>
#include <string_view>

namespace tessarin::exporter {

// A text file written a piece at a time into target.part, renamed onto target by finish():
// a run that fails before leaves target as it was, and the destructor removes the part.
class StreamedFile {
public:
    // Opens target.part, replacing one left over. Throws FileError naming target.
    explicit StreamedFile(std::string target);
    StreamedFile(const StreamedFile&) = delete;
    StreamedFile& operator=(const StreamedFile&) = delete;
    ~StreamedFile();

    // Appends text (checked by finish()).
    void add(std::string_view text) {
        file_.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    // Closes the part and renames it onto target. Throws FileError naming target.
    void finish();

private:
    std::string target_;
    std::string part_;
    std::ofstream file_;
    bool finished_ = false;
};

} // namespace tessarin::exporter
