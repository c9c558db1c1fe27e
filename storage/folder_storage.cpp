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

// The names of folder's entries of one type (links followed), in directory order; an
// entry whose type cannot be read is left out.
std::vector<std::string>
entryNames(const std::string& folder,
           bool (std::filesystem::directory_entry::*isType)(std::error_code&) const noexcept) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        if (((*it).*isType)(typeError)) {
            names.push_back(it->path().filename().string());
        }
    }
    return names;
}

} // namespace

std::vector<std::string> FolderStorage::names() const {
    return entryNames(folder_, &std::filesystem::directory_entry::is_regular_file);
}

std::vector<std::string> FolderStorage::subfolders() const {
    return entryNames(folder_, &std::filesystem::directory_entry::is_directory);
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
