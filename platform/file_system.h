#pragma once

#include <string>

namespace tessarin {

// Makes a new, empty file with a unique name from prefix in the temporary
// directory ($TMPDIR, else /tmp) and returns its full name. Throws FileError
// when the directory is missing or not writable.
[[nodiscard]] std::string makeTempFile(const std::string& prefix);

// The directory part of a path ("." when it has none) and its last component.
[[nodiscard]] std::string directoryOf(const std::string& path);
[[nodiscard]] std::string baseNameOf(const std::string& path);

// Removes the file; false when it could not be removed.
bool deleteFile(const std::string& fileName) noexcept;

} // namespace tessarin
