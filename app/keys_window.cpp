#include "app/keys_window.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

namespace {

enum Column { kCommandColumn, kKeysColumn, kColumnCount };

// The keys that move the picture, which no menu item carries.
struct PictureKey {
    const char* keys;
    const char* command;
};
constexpr std::array kPictureKeys{
    PictureKey{"Arrow keys", "Scroll the picture when it is larger than the window"},
    PictureKey{"Left, Right",
               "Previous and next file when the picture is not wider than the window"},
    PictureKey{"Wheel", "Scroll the picture (a wheel tilted sideways scrolls across)"},
    PictureKey{"Drag with the left button", "Move the picture in the window"},
    PictureKey{"Ctrl+Wheel", "Zoom in and out"},
    PictureKey{"Esc", "Leave full screen"},
    PictureKey{"Enter, Esc",
               "In the thumbnails' filter: open the first file shown; clear and close the filter"},
};

// A caption without its access letter: "&Fit to Window" is "Fit to Window", "&&" is "&".
QString plainCaption(const QString& caption) {
    QString plain = caption;
    plain.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    plain.remove(u'&');
    plain.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return plain;
}

void addRow(QTableWidget& table, const QString& command, const QString& keys) {
    const int row = table.rowCount();
    table.insertRow(row);
    table.setItem(row, kCommandColumn, new QTableWidgetItem(command));
    table.setItem(row, kKeysColumn, new QTableWidgetItem(keys));
}

// The rows of the menu's items that have keys, and of its submenus', under path.
void addMenuKeys(QTableWidget& table, const QMenu& menu, const QString& path) {
    for (const QAction* item : menu.actions()) {
        if (item->isSeparator()) {
            continue;
        }
        const QString caption = plainCaption(item->text());
        if (const QMenu* submenu = item->menu()) {
            addMenuKeys(table, *submenu, path + QStringLiteral(" > ") + caption);
        } else if (!item->shortcuts().isEmpty()) {
            QStringList keys;
            for (const QKeySequence& key : item->shortcuts()) {
                keys << key.toString(QKeySequence::NativeText);
            }
            addRow(table, path + QStringLiteral(" > ") + caption, keys.join(QStringLiteral(", ")));
        }
    }
}

} // namespace

KeysWindow::KeysWindow(QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(0, kColumnCount, this)) {
    setObjectName(QStringLiteral("keysWindow"));
    setWindowTitle(QStringLiteral("Keys"));
    table_->setObjectName(QStringLiteral("keysTable"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Command"), QStringLiteral("Keys")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
}

void KeysWindow::listKeys(const QMenuBar& bar) {
    table_->setRowCount(0);
    for (const QAction* title : bar.actions()) {
        if (const QMenu* menu = title->menu()) {
            addMenuKeys(*table_, *menu, plainCaption(title->text()));
        }
    }
    for (const PictureKey& key : kPictureKeys) {
        addRow(*table_, QLatin1String(key.command), QLatin1String(key.keys));
    }
    table_->resizeColumnsToContents();
    // Wide enough for both columns without a scroll bar across.
    const int width = table_->horizontalHeader()->length() + table_->frameWidth() * 2;
    table_->setMinimumWidth(width + table_->verticalScrollBar()->sizeHint().width());
}
