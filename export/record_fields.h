#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessarin::exporter {

// Fields packed one after the other into a record of a sorted run (SortedRuns): a number
// as 8 bytes, big-endian, a text as its length (4 bytes, big-endian) and its bytes. Records
// that begin with the same fields up to a number compare, byte by byte, as that number does.
class RecordWriter {
public:
    RecordWriter& number(std::uint64_t value);
    RecordWriter& text(std::string_view value);
    // The record made, leaving the writer empty.
    [[nodiscard]] std::string take() { return std::move(record_); }

private:
    std::string record_;
};

// The fields of a record in the order written. A record too short for a field is a fault
// of the program, not of any input: it throws std::out_of_range.
class RecordReader {
public:
    explicit RecordReader(std::string_view record) : rest_(record) {}
    [[nodiscard]] std::uint64_t number();
    [[nodiscard]] std::string_view text();
    // The fields not read yet, as they are.
    [[nodiscard]] std::string_view rest() const { return rest_; }

private:
    [[nodiscard]] std::uint64_t bigEndian(std::size_t bytes);
    std::string_view rest_;
};

} // namespace tessarin::exporter
