#include "names/natural_order.h"

#include "names/ascii_case.h"

namespace tessarin {

namespace {

[[nodiscard]] constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The run of digits at the front of text, without its leading zeros; text loses the run.
[[nodiscard]] std::string_view takeNumber(std::string_view& text) {
    std::size_t end = 0;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
    }
    std::string_view number = text.substr(0, end);
    text.remove_prefix(end);
    const std::size_t first = number.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : number.substr(first);
}

[[nodiscard]] int sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

int compareNatural(std::string_view a, std::string_view b) {
    std::string_view left = a;
    std::string_view right = b;
    while (!left.empty() && !right.empty()) {
        if (isDigit(left.front()) && isDigit(right.front())) {
            const std::string_view x = takeNumber(left);
            const std::string_view y = takeNumber(right);
            if (x.size() != y.size()) {
                return x.size() < y.size() ? -1 : 1;
            }
            if (const int order = x.compare(y); order != 0) {
                return sign(order);
            }
            continue;
        }
        const char x = asciiLower(left.front());
        const char y = asciiLower(right.front());
        if (x != y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
        }
        left.remove_prefix(1);
        right.remove_prefix(1);
    }
    if (left.empty() != right.empty()) {
        return left.empty() ? -1 : 1;
    }
    return sign(a.compare(b));
}

} // namespace tessarin
