#include "packaging/docs/bash_completion.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tessarin::docs {

namespace {

// What completes an option's value: its choices ("a|b" as "a b"), folders for a *DIR,
// files for a FILE or an OUTPUT, nothing for a number.
std::string valueCompletion(const std::string& value) {
    if (value.find('|') != std::string::npos) {
        std::string words = value;
        std::replace(words.begin(), words.end(), '|', ' ');
        return "COMPREPLY=($(compgen -W '" + words + "' -- \"$cur\"))";
    }
    if (value.ends_with("DIR")) {
        return "_filedir -d";
    }
    if (value == "FILE" || value == "OUTPUT") {
        return "_filedir";
    }
    return ":";
}

} // namespace

std::string exporterCompletion(std::span<const exporter::OptionHelp> options) {
    // The options after which a value is completed alike, as "-o | --output", in order.
    std::vector<std::pair<std::string, std::string>> arms;
    std::string names;
    for (const exporter::OptionHelp& option : options) {
        for (const std::string_view name : option.names) {
            names.append(names.empty() || name.empty() ? "" : " ").append(name);
        }
        if (option.value.empty()) {
            continue;
        }
        const std::string action = valueCompletion(option.value);
        auto arm = std::find_if(arms.begin(), arms.end(),
                                [&action](const auto& a) { return a.second == action; });
        if (arm == arms.end()) {
            arm = arms.insert(arms.end(), {"", action});
        }
        for (const std::string_view name : option.names) {
            arm->first.append(arm->first.empty() || name.empty() ? "" : " | ").append(name);
        }
    }
    std::string cases;
    for (const auto& [pattern, action] : arms) {
        cases.append("    ").append(pattern).append(")\n        ").append(action);
        cases.append("\n        return\n        ;;\n");
    }
    return R"(# bash completion for tessarin-export, made from its option table at build time.
_tessarin_export() {
    local cur prev words cword split i
    _init_completion -s || return
    for ((i = 1; i < cword; i++)); do
        if [[ ${words[i]} == -- ]]; then
            _filedir
            return
        fi
    done
    case $prev in
)" + cases +
           R"(    esac
    $split && return
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W ')" +
           names + R"(' -- "$cur"))
        return
    fi
    _filedir
} &&
    complete -F _tessarin_export tessarin-export
)";
}

} // namespace tessarin::docs
