// The viewer's window on the screen it runs on, for the table of docs/viewer.md: for a 256x212 and
// a 512x424 picture (the bundled screen 5 and screen 7 samples) at every zoom, the zoomed picture,
// the window's outer size, whether it lies within the screen's available area and whether the
// picture scrolls; then the zoom the first window of a run takes. Run it on screens of the sizes
// wanted (bench/window_geometry.sh does, under Xvfb); it keeps the settings of a first run only
// when XDG_CONFIG_HOME points to an empty folder.
#include "app/main_window.h"
#include "app/picture_view.h"
#include "app/tessarin_application.h"

#include <QAbstractScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <array>
#include <cstdio>
#include <string>

namespace {

struct Sample {
    const char* file;
    const char* picture;
};
constexpr std::array kSamples{Sample{"BARS.SC5", "256x212"}, Sample{"BARS7.SC7", "512x424"}};

void settle() {
    for (int pass = 0; pass < 5; ++pass) {
        QCoreApplication::processEvents();
    }
}

} // namespace

int main(int argc, char** argv) {
    TessarinApplication application(argc, argv);
    const std::string samples = std::string(TESSARIN_SOURCE_DIR) + "/samples/";
    for (const Sample& sample : kSamples) {
        MainWindow window({samples + sample.file});
        const QRect screen = window.screen()->availableGeometry();
        window.restoreView(screen);
        window.show();
        settle();
        std::printf("%dx%d screen, %s picture: first window at %dx, %dx%d\n", screen.width(),
                    screen.height(), sample.picture, window.view().zoom(),
                    window.frameGeometry().width(), window.frameGeometry().height());
        std::printf("| Zoom | Picture | Window | Within | Scrolls |\n|---|---|---|---|---|\n");
        const auto* scroller = qobject_cast<const QAbstractScrollArea*>(window.centralWidget());
        for (int zoom = tessarin::kMinZoom; zoom <= tessarin::kMaxZoom; ++zoom) {
            window.setZoom(zoom);
            settle();
            const tessarin::ViewRect place = window.pictureView().pictureRect();
            const QRect frame = window.frameGeometry();
            const bool scrolls = scroller->horizontalScrollBar()->maximum() > 0 ||
                                 scroller->verticalScrollBar()->maximum() > 0;
            std::printf("| %dx | %dx%d | %dx%d | %s | %s |\n", zoom, place.width, place.height,
                        frame.width(), frame.height(), screen.contains(frame) ? "yes" : "NO",
                        scrolls ? "yes" : "no");
        }
        std::printf("\n");
        window.closeDocument(); // not close(): the settings stay those of a first run
    }
    return 0;
}
