#include "storage/folder_storage.h"

#include "platform/file_error.h"
#include "platform/file_stream.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tessarin {

InputBytes readHostFile(const std::string& path, std::size_t limit) {
    InputFile in(path);
    InputBytes input;
    input.size = in.size();
    if (input.size == 0) {
        throw FileError(path, "File \"" + path + "\" is empty", Fault::empty);
    }
    input.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(input.size, limit)));
    input.bytes.resize(in.read(input.bytes));
    return input;
}

namespace {

// What an entry that is neither a regular file nor a folder is, for a note.
std::string_view otherKind(std::filesystem::file_type type, bool link) {
    using std::filesystem::file_type;
    if (link && type == file_type::not_found) {
        return "a link to nothing";
    }
    switch (type) {
    case file_type::fifo:
        return "a FIFO";
    case file_type::socket:
        return "a socket";
    case file_type::block:
    case file_type::character:
        return "a device";
    default:
        return "no regular file or folder";
    }
}

} // namespace

FolderEntries FolderStorage::entries() const {
    FolderEntries entries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        const std::filesystem::file_type type = it->status(typeError).type();
        const bool link = it->is_symlink(typeError);
        std::string name = it->path().filename().string();
        if (type == std::filesystem::file_type::directory) {
            (link ? entries.links : entries.folders).push_back(std::move(name));
        } else if (type != std::filesystem::file_type::regular) {
            entries.others.push_back({std::move(name), otherKind(type, link)});
        }
    }
    entries.error = error.value();
    return entries;
}

std::vector<std::string> FolderStorage::names() const {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) {
            names.push_back(it->path().filename().string());
        }
    }
    return names;
}

std::vector<std::string> FolderStorage::subfolders() const {
    FolderEntries all = entries();
    all.folders.insert(all.folders.end(), all.links.begin(), all.links.end());
    return std::move(all.folders);
}
std::optional<std::uint64_t> FolderStorage::sizeOf(const std::string& name) const {
    std::error_code error;
    const std::uintmax_t size =
        std::filesystem::file_size(std::filesystem::path(folder_) / name, error);
    return error ? std::nullopt : std::optional<std::uint64_t>(size);
}

InputBytes FolderStorage::read(const std::string& /*name*/, std::size_t limit,
                               const std::string& path) const {
    // path is the folder and the name as the caller spelled them ("./PIC.SC5"), which
    // errors are to name.
    return readHostFile(path, limit);
}

} // namespace tessarin
