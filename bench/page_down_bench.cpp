// Page Down in the viewer as one whole step: the next screen file of the folder opened and
// decoded, and the 1600x1000 window painted into a pixmap
// with the picture fitted to it. Folders of 200 and of 100,000 files (hard links of the
// samples, screens 5, 7, 8 and 12 in turn), so that listing and ordering are real.
#include "app/main_window.h"
#include "app/tessarin_application.h"

#include <QPixmap>
#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kWindowWidth = 1600;
constexpr int kWindowHeight = 1000;
constexpr std::array<const char*, 4> kSamples{"BARS.SC5", "BARS7.SC7", "RGB.SC8", "YJK.SCC"};

// A folder of count screen files named P000000.SCx upwards, made once per size.
class Folder {
public:
    explicit Folder(int count) {
        std::string pattern = (fs::temp_directory_path() / "tessarin-browse-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        // The samples copied once beside the folder: links cannot cross file systems.
        fs::create_directory(path_ / "samples");
        fs::create_directory(path_ / "folder");
        for (int i = 0; i < count; ++i) {
            const fs::path sample =
                path_ / "samples" / kSamples[static_cast<std::size_t>(i) % kSamples.size()];
            if (!fs::exists(sample)) {
                fs::copy_file(fs::path(TESSARIN_SOURCE_DIR) / "samples" / sample.filename(),
                              sample);
            }
            std::array<char, 16> name{};
            std::snprintf(name.data(), name.size(), "P%06d.", i);
            const fs::path file =
                path_ / "folder" / (name.data() + sample.extension().string().substr(1));
            fs::create_hard_link(sample, file);
            if (i == 0) {
                first_ = file.string();
            }
        }
    }
    ~Folder() { fs::remove_all(path_); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    [[nodiscard]] const std::string& first() const { return first_; }

private:
    fs::path path_;
    std::string first_;
};

void PageDown(benchmark::State& state) {
    const Folder folder(static_cast<int>(state.range(0)));
    MainWindow window({folder.first()});
    window.resize(kWindowWidth, kWindowHeight);
    window.setFitToWindow(true);
    window.show();
    QPixmap canvas(window.size());
    std::string last;
    for (auto _ : state) {
        window.openNextFile();
        window.render(&canvas);
        const std::string shown = window.windowTitle().toStdString();
        if (shown == last) { // the folder's end: start again, untimed
            state.PauseTiming();
            window.openFileByName(folder.first());
            state.ResumeTiming();
        }
        last = shown;
    }
}
BENCHMARK(PageDown)->Arg(200)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    // No display needed; the window paints into the pixmap.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TessarinApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
