#pragma once

#include <string>
#include <vector>

namespace tessarin::exporter {

// The names in source ("-": standard input), one per separator ('\n', or '\0' for lists
// made by find -print0). Empty names are left out; a last name needs no separator after it.
// A name longer than PATH_MAX or more than a million names (empty ones too) is refused.
// Pipes and FIFOs are read as well as files. Throws FileError naming source.
[[nodiscard]] std::vector<std::string> readNameList(const std::string& source, char separator);

} // namespace tessarin::exporter
