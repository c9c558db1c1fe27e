#include "dialogs/vram_mapping_dialog.h"

#include "catalog/file_source.h"
#include "dialogs/error_report.h"
#include "dialogs/hex_dump.h"
#include "vdp/screen_modes.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSpinBox>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <span>

using namespace tessarin;

namespace {

constexpr int kLinePixelsMin = 1;
constexpr int kLinePixelsMax = kMaxLineWidth;
constexpr int kPaletteRows = 4; // colours 0-3 down the first column, 4-7 the second...
constexpr QSize kPanelSize{40, 20};
constexpr int kDumpColumns = 4 + 3 * kHexDumpBytesPerLine; // "0000" and " 00" per byte
constexpr int kDumpVisibleLines = 10;

// The caption of the button setting the line pixels to width: "Screen&" and the bitmap
// modes whose lines are that wide ("Screen&5,8,10,12").
QString linePixelsCaption(int width) {
    QStringList names;
    for (const ScreenModeFacts& facts : kScreenModes) {
        if (facts.kind == ModeKind::bitmap && facts.lineWidth == width) {
            names.append(
                QString::fromLatin1(facts.name.data(), static_cast<qsizetype>(facts.name.size())));
        }
    }
    return QStringLiteral("Screen&") + names.join(QLatin1Char(','));
}

// An up-down whose text field takes typed values within the range; the arrows (and the
// keyboard arrows) step by one and stop at the ends of the range.
QSpinBox* makeUpDown(QWidget* parent, const char* name, int minimum, int maximum, QLineEdit*& field,
                     const char* fieldName) {
    auto* upDown = new QSpinBox(parent);
    upDown->setObjectName(QLatin1String(name));
    upDown->setRange(minimum, maximum);
    upDown->setSingleStep(1);
    upDown->setWrapping(false);
    upDown->setAccelerated(false);
    field = upDown->findChild<QLineEdit*>();
    field->setObjectName(QLatin1String(fieldName));
    return upDown;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

QLineEdit* makeReadOnlyField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    return field;
}

// Shows the widget again however the scope is left, so that a file error escaping
// the dump does not leave it hidden.
class ShowOnExit {
public:
    explicit ShowOnExit(QWidget* widget) : widget_(widget) {}
    ~ShowOnExit() { widget_->show(); }
    ShowOnExit(const ShowOnExit&) = delete;
    ShowOnExit& operator=(const ShowOnExit&) = delete;

private:
    QWidget* widget_;
};

} // namespace

VramMappingDialog::VramMappingDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("mappingDialog"));
    setWindowTitle(QStringLiteral("VRAM Mapping"));

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    vramLoadingTab = buildVramLoadTab();
    paletteTab = buildPaletteTab();
    tabs->addTab(vramLoadingTab, QStringLiteral("VRAM Loading"));
    tabs->addTab(paletteTab, QStringLiteral("Palette"));
    tabs->setCurrentWidget(vramLoadingTab);

    okButton = makeButton(this, "okButton", QStringLiteral("&OK"));
    okButton->setDefault(true);
    cancelButton = makeButton(this, "cancelButton", QStringLiteral("&Cancel"));
    connect(okButton, &QPushButton::clicked, this, &VramMappingDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* VramMappingDialog::buildVramLoadTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("vramLoadingTab"));

    slotGroup = new QGroupBox(QStringLiteral("VRAM &Address"), tab);
    slotGroup->setObjectName(QStringLiteral("slotGroup"));
    slotButtons = new QButtonGroup(slotGroup);
    slotButtons->setObjectName(QStringLiteral("slotButtons"));
    auto* items = new QHBoxLayout(slotGroup);
    const std::array<QString, 2> captions{QStringLiteral("VRAM0 (&&H00000...&&H0FFFF)"),
                                          QStringLiteral("VRAM1 (&&H10000...&&H1FFFF)")};
    for (const FileSlot slot : {FileSlot::vram0, FileSlot::vram1}) {
        auto* item = new QRadioButton(captions[indexOf(slot)], slotGroup);
        slotButtons->addButton(item, static_cast<int>(slot));
        items->addWidget(item);
    }
    slotButtons->button(static_cast<int>(FileSlot::vram0))->setChecked(true);
    // Queued, so that the button has finished with the click before the file is read; a
    // file that cannot be read is reported here.
    connect(
        slotButtons, &QButtonGroup::idToggled, this,
        [this](int, bool checked) {
            // The item being unchecked reports too; act once, on the newly selected one.
            if (checked) {
                reportErrors([this] { slotChosen(); });
            }
        },
        Qt::QueuedConnection);

    fileNameField = makeReadOnlyField(tab, "fileNameField");
    fileNameLabel = makeLabel(tab, "fileNameLabel", QStringLiteral("File Name"), nullptr);

    headerSizeBox = makeUpDown(tab, "headerSizeBox", 0, tessarin::kMaxHeaderSize, headerSizeField,
                               "headerSizeField");
    headerSizeLabel =
        makeLabel(tab, "headerSizeLabel", QStringLiteral("&Header Size"), headerSizeBox);
    linePixelsBox = makeUpDown(tab, "linePixelsBox", kLinePixelsMin, kLinePixelsMax,
                               linePixelsField, "linePixelsField");
    linePixelsLabel =
        makeLabel(tab, "linePixelsLabel", QStringLiteral("&1 Line Pixels"), linePixelsBox);

    narrowLinesButton = makeButton(tab, "narrowLinesButton", linePixelsCaption(kNarrowWidth));
    wideLinesButton = makeButton(tab, "wideLinesButton", linePixelsCaption(kWideWidth));
    connect(narrowLinesButton, &QPushButton::clicked, this,
            &VramMappingDialog::setNarrowLinePixels);
    connect(wideLinesButton, &QPushButton::clicked, this, &VramMappingDialog::setWideLinePixels);

    headerDump = new QPlainTextEdit(tab);
    headerDump->setObjectName(QStringLiteral("headerDump"));
    headerDump->setReadOnly(true);
    headerDump->setLineWrapMode(QPlainTextEdit::NoWrap);
    headerDump->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics(headerDump->font());
    headerDump->setFixedSize(
        metrics.horizontalAdvance(QString(kDumpColumns + 2, QLatin1Char('0'))) +
            headerDump->verticalScrollBar()->sizeHint().width(),
        metrics.lineSpacing() * kDumpVisibleLines + 2 * headerDump->frameWidth());

    auto* settings = new QGridLayout;
    settings->addWidget(headerSizeLabel, 0, 0);
    settings->addWidget(headerSizeBox, 0, 1);
    settings->addWidget(linePixelsLabel, 1, 0);
    settings->addWidget(linePixelsBox, 1, 1);
    auto* screenButtons = new QHBoxLayout;
    screenButtons->addWidget(narrowLinesButton);
    screenButtons->addWidget(wideLinesButton);
    settings->addLayout(screenButtons, 2, 0, 1, 2);
    settings->setRowStretch(3, 1);

    // The file's own layout is the default; the header size and line pixels above are the
    // fixed layout's, which a change of them chooses.
    layoutFound = new QLabel(tab);
    layoutFound->setObjectName(QStringLiteral("layoutFound"));
    fixedLayoutBox =
        new QCheckBox(QStringLiteral("Fi&xed layout: skip the header, lay the line pixels"), tab);
    fixedLayoutBox->setObjectName(QStringLiteral("fixedLayoutBox"));

    auto* fileName = new QHBoxLayout;
    fileName->addWidget(fileNameLabel);
    fileName->addWidget(fileNameField, 1);

    auto* lower = new QHBoxLayout;
    lower->addLayout(settings);
    lower->addWidget(headerDump);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(slotGroup);
    layout->addLayout(fileName);
    layout->addWidget(layoutFound);
    layout->addWidget(fixedLayoutBox);
    layout->addLayout(lower);
    return tab;
}

QWidget* VramMappingDialog::buildPaletteTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("paletteTab"));

    paletteFileField = makeReadOnlyField(tab, "paletteFileField");
    paletteFileLabel =
        makeLabel(tab, "paletteFileLabel", QStringLiteral("Palette File Name"), nullptr);
    auto* fileName = new QHBoxLayout;
    fileName->addWidget(paletteFileLabel);
    fileName->addWidget(paletteFileField, 1);

    filePaletteButton = makeButton(tab, "filePaletteButton", QStringLiteral("&File"));
    filePaletteButton->setEnabled(false);
    vramPaletteButton = makeButton(tab, "vramPaletteButton", QStringLiteral("&VRAM"));
    standardPaletteButton = makeButton(tab, "standardPaletteButton", QStringLiteral("&Standard"));
    automaticPaletteButton =
        makeButton(tab, "automaticPaletteButton", QStringLiteral("A&utomatic"));
    connect(automaticPaletteButton, &QPushButton::clicked, this,
            &VramMappingDialog::useAutomaticPalette);
    sourceInEffect = new QLabel(tab);
    sourceInEffect->setObjectName(QStringLiteral("sourceInEffect"));
    connect(filePaletteButton, &QPushButton::clicked, this, &VramMappingDialog::useFilePalette);
    connect(vramPaletteButton, &QPushButton::clicked, this, &VramMappingDialog::useVramPalette);
    connect(standardPaletteButton, &QPushButton::clicked, this,
            &VramMappingDialog::useStandardPalette);
    auto* sources = new QHBoxLayout;
    sources->addWidget(filePaletteButton);
    sources->addWidget(vramPaletteButton);
    sources->addWidget(standardPaletteButton);
    sources->addWidget(automaticPaletteButton);
    sources->addStretch();
    sources->addWidget(sourceInEffect);

    auto* colours = new QGridLayout;
    for (int i = 0; i < kPaletteColours; ++i) {
        const auto index = static_cast<std::size_t>(i);
        auto* panel = new QFrame(tab);
        panel->setObjectName(QStringLiteral("colourPanels%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedSize(kPanelSize);
        panel->setAutoFillBackground(true);
        colourPanels[index] = panel;
        auto* label = new QLabel(QStringLiteral("Color %1").arg(i), tab);
        label->setObjectName(QStringLiteral("colourLabels%1").arg(i));
        colourLabels[index] = label;
        const int row = i % kPaletteRows;
        const int column = i / kPaletteRows * 2;
        colours->addWidget(label, row, column);
        colours->addWidget(panel, row, column + 1);
    }

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(fileName);
    layout->addLayout(sources);
    layout->addLayout(colours);
    layout->addStretch();
    return tab;
}

void VramMappingDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return; // the window came back from being minimised: not a new showing
    }
    if (const QScreen* where = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(where->availableGeometry().center());
        move(frame.topLeft());
    }
    // The dump reads the file again, which may be gone: reported, and the dialog still shows.
    reportErrors([this] { showDocumentSettings(); });
}

void VramMappingDialog::showDocumentSettings() {
    mapping_ = document_->mapping();
    fixedLayoutBox->setChecked(mapping_.layout == LayoutChoice::fixed);
    const std::string found = document_->layoutDescription();
    layoutFound->setText(
        found.empty() ? QString() : QStringLiteral("Found: %1").arg(QString::fromStdString(found)));
    // The palette steps come before the dump, which alone can fail (the file may
    // have gone since it was loaded), so that they are up to date even then.
    showPaletteColours();
    const std::string& paletteFile = document_->fileName(FileSlot::palette);
    filePaletteButton->setEnabled(!paletteFile.empty());
    paletteFileField->setText(QString::fromStdString(paletteFile));
    showSlotSettings(currentSlot_);
}

void VramMappingDialog::slotChosen() {
    storeSlotSettings(currentSlot_);
    currentSlot_ = static_cast<FileSlot>(slotButtons->checkedId());
    showSlotSettings(currentSlot_);
}

void VramMappingDialog::storeSlotSettings(FileSlot slot) {
    if (slot != FileSlot::vram0 && slot != FileSlot::vram1) {
        return;
    }
    const auto index = indexOf(slot);
    const auto headerSize = static_cast<std::int16_t>(headerSizeBox->value());
    const auto linePixels = static_cast<std::int16_t>(linePixelsBox->value());
    // Header size and line pixels mean something only in a fixed layout.
    if (headerSize != mapping_.headerSize[index] || linePixels != mapping_.linePixels[index]) {
        fixedLayoutBox->setChecked(true);
    }
    mapping_.headerSize[index] = headerSize;
    mapping_.linePixels[index] = linePixels;
    mapping_.layout = fixedLayoutBox->isChecked() ? LayoutChoice::fixed : LayoutChoice::automatic;
}

void VramMappingDialog::showSlotSettings(FileSlot slot) {
    if (slot != FileSlot::vram0 && slot != FileSlot::vram1) {
        return;
    }
    const auto index = indexOf(slot);
    const std::string& fileName = document_->fileName(slot);
    headerDump->clear();
    fileNameField->setText(QString::fromStdString(fileName));
    // The up-downs are set before the dump so that, should the file fail to open, they
    // already show the current slot and OK cannot store one slot's
    // values into the other.
    headerSizeBox->setValue(mapping_.headerSize[index]);
    linePixelsBox->setValue(mapping_.linePixels[index]);
    // Only the VRAM0 data is re-laid by its pixels per line, and only in a bitmap mode.
    const ScreenModeFacts* facts = findScreenMode(document_->vdp().screenMode());
    const bool patternMode = facts != nullptr && facts->kind == ModeKind::pattern;
    const bool linePixelsApply = slot == FileSlot::vram0 && !patternMode;
    const QString why = patternMode ? QStringLiteral("Line pixels do not apply to pattern modes "
                                                     "(screens 2 to 4)")
                                    : QString();
    for (QWidget* control :
         {static_cast<QWidget*>(linePixelsBox), static_cast<QWidget*>(narrowLinesButton),
          static_cast<QWidget*>(wideLinesButton)}) {
        control->setEnabled(linePixelsApply);
        control->setToolTip(why);
    }
    if (!fileName.empty()) {
        fillHeaderDump(fileName);
    }
}

void VramMappingDialog::fillHeaderDump(const std::string& fileName) {
    headerDump->hide();
    const ShowOnExit showAgain(headerDump);
    // Through the one file source: the file may lie inside a disk image.
    const InputBytes head = fileSource().read(Location::of(fileName), kHexDumpMaxBytes);
    QStringList lines;
    for (const std::string& line : hexDumpLines(head.bytes)) {
        lines.append(QString::fromStdString(line));
    }
    headerDump->setPlainText(lines.join(QLatin1Char('\n')));
}

void VramMappingDialog::showPaletteColours() {
    const PaletteSource shown = document_->resolvePalette(mapping_.paletteSource);
    const QString name = shown == PaletteSource::file   ? QStringLiteral("File")
                         : shown == PaletteSource::vram ? QStringLiteral("VRAM")
                                                        : QStringLiteral("Standard");
    const VdpState& vdp = document_->vdp();
    const ScreenModeFacts* facts = findScreenMode(vdp.screenMode());
    // The choice is kept for the palette modes; this one shows its bytes' own colours.
    if (facts != nullptr && !facts->usesPalette()) {
        sourceInEffect->setText(QStringLiteral("In effect: none, the mode's colours are direct"));
    } else {
        // Automatic says where the colours were found, as the status bar does.
        sourceInEffect->setText(
            mapping_.paletteSource == PaletteSource::automatic
                ? QStringLiteral("In effect: %1 (automatic: %2)")
                      .arg(name, QString::fromStdString(describe(document_->paletteChoice())))
                : QStringLiteral("In effect: %1").arg(name));
    }
    for (std::size_t i = 0; i < colourPanels.size(); ++i) {
        QPalette colours = colourPanels[i]->palette();
        colours.setColor(
            QPalette::Window,
            QColor(vdp.paletteRgb()[i].red, vdp.paletteRgb()[i].green, vdp.paletteRgb()[i].blue));
        colourPanels[i]->setPalette(colours);
    }
}

void VramMappingDialog::setNarrowLinePixels() {
    linePixelsBox->setValue(kNarrowWidth);
}

void VramMappingDialog::setWideLinePixels() {
    linePixelsBox->setValue(kWideWidth);
}

void VramMappingDialog::useFilePalette() {
    previewPalette(PaletteSource::file);
}

void VramMappingDialog::useVramPalette() {
    previewPalette(PaletteSource::vram);
}

void VramMappingDialog::useStandardPalette() {
    previewPalette(PaletteSource::standard);
}

void VramMappingDialog::useAutomaticPalette() {
    previewPalette(PaletteSource::automatic);
}

void VramMappingDialog::previewPalette(PaletteSource source) {
    mapping_.paletteSource = source;
    document_->previewPalette(source);
    showPaletteColours();
}

void VramMappingDialog::confirm() {
    storeSlotSettings(currentSlot_);
    accept();
}
