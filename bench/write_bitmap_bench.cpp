// writeBitmap in each view beside a write floor: the same bytes in the same number
// of writes to the same directory through the same OutputFile. And raw decoding.
#include "document/screen_document.h"
#include "document/view_geometry.h"
#include "image/bmp_encoder.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "tests/support/document_probe.h"

#include <array>
#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace tessarin {
namespace {

constexpr std::size_t kBmpFileHeader = 14;
constexpr std::size_t kBmpInfoHeader = 40;
constexpr std::size_t kBytesPerPixel = 3;
constexpr std::array<ScreenMode, 5> kModes{ScreenMode::screen2, ScreenMode::screen5,
                                           ScreenMode::screen7, ScreenMode::screen8,
                                           ScreenMode::screen12};

// One scratch file in the temporary directory, shared by every benchmark.
const std::string& scratchFile() {
    static const std::string name = makeTempFile("tessarin-bench");
    return name;
}

// Pseudo-random VRAM, the same on every run, so that every decoder path is taken.
void fillVram(VdpState& vdp) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& b : vdp.vramForLoading()) {
        b = static_cast<std::uint8_t>(byte(random));
    }
}

void writeBitmap(benchmark::State& state) {
    const ScreenMode mode = *screenModeFromNumber(static_cast<int>(state.range(0)));
    const auto view = static_cast<ViewMode>(state.range(1));
    ScreenDocument document;
    Probe::vdp(document).setScreenMode(mode);
    fillVram(Probe::vdp(document));
    document.setViewMode(view);
    for (auto _ : state) {
        writeBmpFile(document.render(), scratchFile());
    }
    const ImageSize size = *imageSizeOf(view, pictureLinesOf(mode));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * size.width *
                            size.height * static_cast<std::int64_t>(kBytesPerPixel));
}

// The same number of bytes in one write, as writeBmpFile does: what rendering and encoding
// add to the cost of the file itself.
void WriteFloor(benchmark::State& state) {
    const ImageSize size = *imageSizeOf(static_cast<ViewMode>(state.range(0)));
    const std::vector<std::uint8_t> file(kBmpFileHeader + kBmpInfoHeader +
                                             static_cast<std::size_t>(size.width) *
                                                 static_cast<std::size_t>(size.height) *
                                                 kBytesPerPixel,
                                         0x5A);
    for (auto _ : state) {
        OutputFile out(scratchFile());
        out.write(file);
        out.close();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * size.width *
                            size.height * static_cast<std::int64_t>(kBytesPerPixel));
}

// Decoding alone: the lines of page 0 (212, or 192 in screens 2 to 4), 256 or 512 pixels
// wide.
template <typename Line,
          void (VdpState::*Render)(int, std::span<RgbTriple, std::tuple_size_v<Line>>) const>
void DecodePage(benchmark::State& state) {
    VdpState vdp;
    vdp.setScreenMode(*screenModeFromNumber(static_cast<int>(state.range(0))));
    fillVram(vdp);
    const int lines = pictureLinesOf(vdp.screenMode());
    Line line{};
    for (auto _ : state) {
        for (int y = 0; y < lines; ++y) {
            (vdp.*Render)(y, line);
            benchmark::DoNotOptimize(line);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * lines *
                            static_cast<std::int64_t>(line.size()));
}

void viewArgs(benchmark::internal::Benchmark* b) {
    b->ArgNames({"mode", "view"});
    for (const ScreenMode mode : kModes) {
        for (int view = 0; view < kViewModeCount; ++view) {
            b->Args({static_cast<std::int64_t>(mode), view});
        }
    }
}

void floorArgs(benchmark::internal::Benchmark* b) {
    b->ArgName("view");
    for (int view = 0; view < kViewModeCount; ++view) {
        b->Arg(view);
    }
}

void modeArgs(benchmark::internal::Benchmark* b) {
    b->ArgName("mode");
    for (const ScreenModeFacts& facts : kScreenModes) {
        if (facts.mode != ScreenMode::screen4) { // decoded as screen 2
            b->Arg(static_cast<std::int64_t>(facts.mode));
        }
    }
}

BENCHMARK(WriteFloor)->Apply(floorArgs);
BENCHMARK(writeBitmap)->Apply(viewArgs);
BENCHMARK(DecodePage<RgbLine256, &VdpState::renderLine256>)->Name("Decode256")->Apply(modeArgs);
BENCHMARK(DecodePage<RgbLine512, &VdpState::renderLine512>)->Name("Decode512")->Apply(modeArgs);

} // namespace
} // namespace tessarin

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tessarin::deleteFile(tessarin::scratchFile());
    return 0;
}
