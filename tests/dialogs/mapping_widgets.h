#pragma once

// The mapping dialog's widgets as a user (and a test) finds them: by their names.

#include "dialogs/vram_mapping_dialog.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <array>
#include <gtest/gtest.h>

namespace tessarin::test {

template <typename Widget> Widget* childNamed(const QObject& dialog, const QString& name) {
    auto* child = dialog.findChild<Widget*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

// The widgets the tests use, found in the dialog d by their names.
struct MappingWidgets {
    explicit MappingWidgets(const QObject& d)
        : okButton(childNamed<QPushButton>(d, QStringLiteral("okButton"))),
          cancelButton(childNamed<QPushButton>(d, QStringLiteral("cancelButton"))),
          tabs(childNamed<QTabWidget>(d, QStringLiteral("tabs"))),
          vramLoadingTab(childNamed<QWidget>(d, QStringLiteral("vramLoadingTab"))),
          paletteTab(childNamed<QWidget>(d, QStringLiteral("paletteTab"))),
          slotButtons(childNamed<QButtonGroup>(d, QStringLiteral("slotButtons"))),
          fileNameField(childNamed<QLineEdit>(d, QStringLiteral("fileNameField"))),
          headerSizeBox(childNamed<QSpinBox>(d, QStringLiteral("headerSizeBox"))),
          headerSizeField(childNamed<QLineEdit>(d, QStringLiteral("headerSizeField"))),
          linePixelsBox(childNamed<QSpinBox>(d, QStringLiteral("linePixelsBox"))),
          linePixelsField(childNamed<QLineEdit>(d, QStringLiteral("linePixelsField"))),
          headerDump(childNamed<QPlainTextEdit>(d, QStringLiteral("headerDump"))),
          narrowLinesButton(childNamed<QPushButton>(d, QStringLiteral("narrowLinesButton"))),
          wideLinesButton(childNamed<QPushButton>(d, QStringLiteral("wideLinesButton"))),
          paletteFileField(childNamed<QLineEdit>(d, QStringLiteral("paletteFileField"))),
          filePaletteButton(childNamed<QPushButton>(d, QStringLiteral("filePaletteButton"))),
          vramPaletteButton(childNamed<QPushButton>(d, QStringLiteral("vramPaletteButton"))),
          standardPaletteButton(
              childNamed<QPushButton>(d, QStringLiteral("standardPaletteButton"))) {
        for (std::size_t i = 0; i < colourPanels.size(); ++i) {
            colourLabels[i] = childNamed<QLabel>(d, QStringLiteral("colourLabels%1").arg(i));
            colourPanels[i] = childNamed<QFrame>(d, QStringLiteral("colourPanels%1").arg(i));
        }
    }

    QPushButton* okButton;
    QPushButton* cancelButton;
    QTabWidget* tabs;
    QWidget* vramLoadingTab;
    QWidget* paletteTab;
    QButtonGroup* slotButtons;
    QLineEdit* fileNameField;
    QSpinBox* headerSizeBox;
    QLineEdit* headerSizeField;
    QSpinBox* linePixelsBox;
    QLineEdit* linePixelsField;
    QPlainTextEdit* headerDump;
    QPushButton* narrowLinesButton;
    QPushButton* wideLinesButton;
    QLineEdit* paletteFileField;
    QPushButton* filePaletteButton;
    QPushButton* vramPaletteButton;
    QPushButton* standardPaletteButton;
    std::array<QLabel*, kPaletteColours> colourLabels{};
    std::array<QFrame*, kPaletteColours> colourPanels{};
};

} // namespace tessarin::test
