#include "tests/app/viewer_fixture.h"

#include "app/picture_view.h"
#include "document/screen_document.h"
#include "image/bmp_encoder.h"
#include "tests/support/document_probe.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace tessarin::test {
namespace {

constexpr int kPollMilliseconds = 5;
constexpr int kPollLimit = 2000; // ten seconds at least, for slow sanitizer runs
// BMP file header (14 bytes), then the info header: biWidth at 18, biHeight at 22.
constexpr std::size_t kWidthOffset = 18;
constexpr std::size_t kHeightOffset = 22;

class ViewerEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // Offscreen unless a platform is asked for: the same tests also drive a real
        // window on an X server.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // The folders the dialogs remember go to a place of this process's own, neither the
        // user's settings nor a test folder shared with the test programs running beside.
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config_.path()));
        app_ = std::make_unique<TessarinApplication>(argc_, argv_);
        app_->setErrorReporter([](const QString&) {});
        // Closing a test's window must not end the modal loops of the tests after it.
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override { app_.reset(); }
    static TessarinApplication& app() { return *app_; }

private:
    int argc_ = 1;
    char name_[24] = "tessarin_app_tests";
    char* argv_[2] = {name_, nullptr};
    ScratchDir config_;
    static inline std::unique_ptr<TessarinApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ViewerEnvironment);

std::uint32_t get32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                      bytes[at + 3] << 24);
}

} // namespace

TessarinApplication& viewerApplication() {
    return ViewerEnvironment::app();
}

std::string sample(const std::string& name) {
    return std::string(TESSARIN_SOURCE_DIR) + "/samples/" + name;
}

std::string copySample(const ScratchDir& dir, const std::string& sampleName,
                       const std::string& name) {
    const std::string copy = dir.file(name);
    std::filesystem::copy_file(sample(sampleName), copy,
                               std::filesystem::copy_options::overwrite_existing);
    return copy;
}

std::string runCommand(QAction* item) {
    TessarinApplication& app = viewerApplication();
    app.showError(QString());
    QMetaObject::invokeMethod(item, &QAction::trigger, Qt::QueuedConnection);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return app.lastErrorMessage().toStdString();
}

void whenModal(std::function<void(QWidget& dialog)> answer) {
    auto* timer = new QTimer(&viewerApplication());
    auto polls = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, polls, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(*modal);
        } else if (++*polls == kPollLimit) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal dialog was shown";
        }
    });
    timer->start(kPollMilliseconds);
}

void whenFileDialogAnswer(const std::string& name, QString* shownFilter,
                          std::function<void()> beforeAccept) {
    whenModal([name, shownFilter, beforeAccept](QWidget& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        ASSERT_NE(files, nullptr) << dialog.objectName().toStdString();
        if (shownFilter != nullptr) {
            *shownFilter = files->selectedNameFilter();
        }
        if (name.empty()) {
            files->reject();
            return;
        }
        typeFileName(*files, name);
        if (beforeAccept) {
            beforeAccept();
        }
        // QFileDialog's own accept() behind QDialog's public one, as its Save button does.
        static_cast<QDialog*>(files)->accept();
    });
}

void typeFileName(QFileDialog& dialog, const std::string& name) {
    // The dialog is kept between uses: a file picked last time may still be selected in
    // its list, and a selection counts before the typed name. A user's click clears it.
    dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"))->clearSelection();
    // What a user types into the name field; a full name there is taken as it is.
    dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
        ->setText(QString::fromStdString(name));
}

AgreeToQuestions::AgreeToQuestions() {
    QCoreApplication::instance()->installEventFilter(this);
}

AgreeToQuestions::~AgreeToQuestions() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool AgreeToQuestions::eventFilter(QObject* watched, QEvent* event) {
    if (auto* box = qobject_cast<QMessageBox*>(watched); box && event->type() == QEvent::Show) {
        ++asked_;
        QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Yes)->click(); });
    }
    return false;
}

QSize bitmapSize(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < kHeightOffset + 4) {
        return {0, 0};
    }
    return {static_cast<int>(get32(bytes, kWidthOffset)),
            static_cast<int>(get32(bytes, kHeightOffset))};
}

std::vector<std::uint8_t>
referencePicture(ScreenMode screenMode, std::int16_t linePixels,
                 const std::vector<std::pair<FileSlot, std::string>>& files, ViewMode viewMode) {
    ScreenDocument doc;
    Probe::vdp(doc).setScreenMode(screenMode);
    Probe::mapping(doc).linePixels = {linePixels, linePixels};
    doc.setViewMode(viewMode);
    for (const auto& [slot, name] : files) {
        Probe::openFile(doc, name, slot);
    }
    doc.restorePalette(); // the automatic palette of what was loaded
    return renderedPicture(doc);
}

std::vector<std::uint8_t> renderedPicture(ScreenDocument& doc) {
    return encodeBmp(doc.render()).bytes();
}

ViewerWindow::ViewerWindow(const std::vector<std::string>& arguments) {
    ::setenv("TMPDIR", tmp.path().c_str(), 1);
    form = std::make_unique<MainWindow>(arguments);
    ::unsetenv("TMPDIR");
}

ViewerWindow::~ViewerWindow() = default;

std::vector<std::uint8_t> ViewerWindow::picture() const {
    return encodeBmp(form->pictureView().picture()).bytes();
}

} // namespace tessarin::test
