#include "export/sorted_runs.h"

#include "platform/file_error.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <queue>

namespace tessarin::exporter {

namespace {

// A run file: each record as its length (4 bytes, little-endian) and its bytes.
constexpr std::size_t kLengthBytes = 4;
constexpr int kByteBits = 8;
// What a held record costs beside its bytes: the string and its heap block.
constexpr std::size_t kHeldOverhead = sizeof(std::string) + 16;

FileError cannotWrite(const std::string& file) {
    return FileError(file, "Cannot write \"" + file + "\"", errno);
}

class RunWriter {
public:
    explicit RunWriter(std::string file)
        : file_(std::move(file)), out_(file_, std::ios::binary | std::ios::trunc) {
        if (!out_) {
            throw cannotWrite(file_);
        }
    }
    void put(std::string_view record) {
        std::array<char, kLengthBytes> length{};
        for (std::size_t i = 0; i < kLengthBytes; ++i) {
            length[i] = static_cast<char>((record.size() >> (i * kByteBits)) & 0xFF);
        }
        out_.write(length.data(), length.size());
        out_.write(record.data(), static_cast<std::streamsize>(record.size()));
    }
    void close() {
        out_.close();
        if (!out_) {
            throw cannotWrite(file_);
        }
    }

private:
    std::string file_;
    std::ofstream out_;
};

class RunReader {
public:
    explicit RunReader(const std::string& file) : file_(file), in_(file, std::ios::binary) {
        if (!in_) {
            throw FileError(file_, "Cannot read \"" + file_ + "\"", errno);
        }
    }
    // The next record into current(); false at the end.
    [[nodiscard]] bool next() {
        std::array<unsigned char, kLengthBytes> length{};
        if (!in_.read(reinterpret_cast<char*>(length.data()), length.size())) {
            if (in_.gcount() != 0 || !in_.eof()) {
                throw FileError(file_, "Cannot read \"" + file_ + "\"", errno);
            }
            return false;
        }
        std::size_t size = 0;
        for (std::size_t i = 0; i < kLengthBytes; ++i) {
            size |= std::size_t{length[i]} << (i * kByteBits);
        }
        current_.resize(size);
        if (!in_.read(current_.data(), static_cast<std::streamsize>(size))) {
            throw FileError(file_, "Cannot read \"" + file_ + "\": cut short", errno);
        }
        return true;
    }
    [[nodiscard]] const std::string& current() const { return current_; }

private:
    std::string file_;
    std::ifstream in_;
    std::string current_;
};

} // namespace

SortedRuns::SortedRuns(std::string scratch, std::size_t runBytes)
    : scratch_(std::move(scratch)), runBytes_(std::max<std::size_t>(runBytes, 1)) {}

SortedRuns::~SortedRuns() {
    for (const std::string& run : runs_) {
        std::remove(run.c_str());
    }
}

void SortedRuns::add(std::string record) {
    heldBytes_ += record.size() + kHeldOverhead;
    held_.push_back(std::move(record));
    if (heldBytes_ >= runBytes_) {
        writeRun();
    }
}

void SortedRuns::writeRun() {
    std::ranges::sort(held_);
    runs_.push_back(scratch_ + "." + std::to_string(++made_));
    RunWriter run(runs_.back());
    for (const std::string& record : held_) {
        run.put(record);
    }
    run.close();
    held_ = {};
    heldBytes_ = 0;
}

void SortedRuns::mergeRuns(std::size_t count, const std::function<void(std::string_view)>& take) {
    std::vector<RunReader> readers;
    readers.reserve(count);
    for (std::size_t r = 0; r < count; ++r) {
        readers.emplace_back(runs_[r]);
    }
    // The reader whose record comes first on top; the earlier run first among equals.
    const auto later = [&](std::size_t a, std::size_t b) {
        const int order = readers[a].current().compare(readers[b].current());
        return order != 0 ? order > 0 : a > b;
    };
    std::priority_queue<std::size_t, std::vector<std::size_t>, decltype(later)> next(later);
    for (std::size_t r = 0; r < count; ++r) {
        if (readers[r].next()) {
            next.push(r);
        }
    }
    while (!next.empty()) {
        const std::size_t r = next.top();
        next.pop();
        take(readers[r].current());
        if (readers[r].next()) {
            next.push(r);
        }
    }
    readers.clear();
    for (std::size_t r = 0; r < count; ++r) {
        std::remove(runs_[r].c_str());
    }
    runs_.erase(runs_.begin(), runs_.begin() + static_cast<std::ptrdiff_t>(count));
}

void SortedRuns::drain(const std::function<void(std::string_view)>& take) {
    if (runs_.empty()) { // all held: no file
        std::ranges::sort(held_);
        for (const std::string& record : held_) {
            take(record);
        }
        held_ = {};
        heldBytes_ = 0;
        return;
    }
    if (!held_.empty()) {
        writeRun();
    }
    while (runs_.size() > kMergedRuns) {
        runs_.push_back(scratch_ + "." + std::to_string(++made_)); // removed however it ends
        RunWriter run(runs_.back());
        mergeRuns(kMergedRuns, [&](std::string_view record) { run.put(record); });
        run.close();
    }
    mergeRuns(runs_.size(), take);
}

} // namespace tessarin::exporter
