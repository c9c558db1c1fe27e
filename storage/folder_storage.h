#pragma once

#include "storage/storage.h"

#include <string>

namespace tessarin {

// What a folder holds beside its regular files, for a walk through the folders below it.
struct FolderEntries {
    struct Other {
        std::string name;
        std::string_view what; // "a FIFO", "a link to nothing", ...
    };
    std::vector<std::string> folders; // its folders, links to folders not among them
    std::vector<std::string> links;   // its links to folders
    std::vector<Other> others;        // neither regular files nor folders
    int error = 0;                    // errno when the folder cannot be listed, else 0
};

// A folder of the file system. Only regular files are listed and read, without blocking.
class FolderStorage final : public Storage {
public:
    explicit FolderStorage(std::string folder) : folder_(std::move(folder)) {}

    [[nodiscard]] std::vector<std::string> names() const override;
    [[nodiscard]] std::optional<std::uint64_t> sizeOf(const std::string& name) const override;
    [[nodiscard]] InputBytes read(const std::string& name, std::size_t limit,
                                  const std::string& path) const override;
    // The names of the folders in it (links to folders followed), in no order.
    [[nodiscard]] std::vector<std::string> subfolders() const;
    // Its entries that are no regular files, each in its kind, in directory order.
    [[nodiscard]] FolderEntries entries() const;

private:
    std::string folder_;
};

// At most limit bytes from the start of the file-system file path, and its size. FileError
// naming path when it cannot be opened (only regular files are) or read, or is empty.
[[nodiscard]] InputBytes readHostFile(const std::string& path, std::size_t limit);

} // namespace tessarin
