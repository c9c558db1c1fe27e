#include "export/printable.h"

#include <array>

namespace tessarin::exporter {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kUtf8C1Lead = 0xC2; // U+0080..U+009F are 0xC2 0x80..0x9F
constexpr unsigned char kC1First = 0x80;
constexpr unsigned char kC1Last = 0x9F;
constexpr unsigned char kContinuationFirst = 0x80; // 10xxxxxx
constexpr unsigned char kContinuationLast = 0xBF;

void appendHex(std::string& out, unsigned char c) {
    constexpr std::array<char, 16> kDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                           '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    out += "\\x";
    out += kDigits[c >> 4];
    out += kDigits[c & 0xF];
}

void appendControl(std::string& out, unsigned char c) {
    switch (c) {
    case '\a':
        out += "\\a";
        break;
    case '\b':
        out += "\\b";
        break;
    case '\t':
        out += "\\t";
        break;
    case '\n':
        out += "\\n";
        break;
    case '\v':
        out += "\\v";
        break;
    case '\f':
        out += "\\f";
        break;
    case '\r':
        out += "\\r";
        break;
    case 0x1B:
        out += "\\e";
        break;
    default:
        appendHex(out, c);
    }
}

// The range the second byte of a sequence takes after lead, which rules out overlong forms,
// surrogates and code points past U+10FFFF; and the sequence's length (0: lead is no lead).
struct LeadRule {
    std::size_t length;
    unsigned char secondFirst;
    unsigned char secondLast;
};

LeadRule ruleOf(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return {2, kContinuationFirst, kContinuationLast};
    }
    if (lead == 0xE0) {
        return {3, 0xA0, kContinuationLast};
    }
    if (lead == 0xED) {
        return {3, kContinuationFirst, 0x9F};
    }
    if (lead >= 0xE1 && lead <= 0xEF) {
        return {3, kContinuationFirst, kContinuationLast};
    }
    if (lead == 0xF0) {
        return {4, 0x90, kContinuationLast};
    }
    if (lead >= 0xF1 && lead <= 0xF3) {
        return {4, kContinuationFirst, kContinuationLast};
    }
    if (lead == 0xF4) {
        return {4, kContinuationFirst, 0x8F};
    }
    return {0, 0, 0};
}

// The length of the valid UTF-8 sequence of two or more bytes at text[i], else 0.
std::size_t sequenceAt(std::string_view text, std::size_t i) {
    const LeadRule rule = ruleOf(static_cast<unsigned char>(text[i]));
    if (rule.length == 0 || text.size() - i < rule.length) {
        return 0;
    }
    for (std::size_t k = 1; k < rule.length; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        const unsigned char first = k == 1 ? rule.secondFirst : kContinuationFirst;
        const unsigned char last = k == 1 ? rule.secondLast : kContinuationLast;
        if (c < first || c > last) {
            return 0;
        }
    }
    return rule.length;
}

} // namespace

bool isUtf8C1At(std::string_view text, std::size_t at) {
    return at + 1 < text.size() && static_cast<unsigned char>(text[at]) == kUtf8C1Lead &&
           static_cast<unsigned char>(text[at + 1]) >= kC1First &&
           static_cast<unsigned char>(text[at + 1]) <= kC1Last;
}

std::string printable(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < kFirstPrintable || c == kDelete) {
            appendControl(result, c);
            ++i;
            continue;
        }
        if (c < kC1First) {
            result += static_cast<char>(c);
            ++i;
            continue;
        }
        const std::size_t length = sequenceAt(text, i);
        if (length == 0) {
            // A byte of no character: a C1 control to an 8-bit terminal, or left as it is.
            if (c <= kC1Last) {
                appendHex(result, c);
            } else {
                result += static_cast<char>(c);
            }
            ++i;
        } else if (isUtf8C1At(text, i)) {
            appendHex(result, c);
            appendHex(result, static_cast<unsigned char>(text[i + 1]));
            i += length;
        } else {
            result.append(text.substr(i, length));
            i += length;
        }
    }
    return result;
}

} // namespace tessarin::exporter
