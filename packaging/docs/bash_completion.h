#pragma once
// The exporter's bash completion, from the option table its --help lists.

#include "export/options.h"

#include <span>
#include <string>

namespace tessarin::docs {

// A script for bash-completion: options after a dash, each option's choices after it,
// files or folders where an option names one, and files elsewhere and after "--".
[[nodiscard]] std::string exporterCompletion(std::span<const exporter::OptionHelp> options);

} // namespace tessarin::docs
