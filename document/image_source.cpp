#include "document/image_source.h"

#include "image/image_input.h"
#include "platform/file_error.h"

namespace tessarin {

SourceImage readSourceImage(FileSource& source, const Location& file) {
    // One byte past the limit tells a file over it without reading all of it.
    const InputBytes input = source.read(file, kMaxImageFileSize + 1);
    const std::string& path = file.path();
    if (input.size > kMaxImageFileSize) {
        throw FileError(path,
                        "Picture \"" + path + "\" is too large to convert (over " +
                            std::to_string(kMaxImageFileSize >> 20) + " MiB)",
                        Fault::pictureTooLarge);
    }
    return decodeImage(input.bytes, path);
}

} // namespace tessarin
