#pragma once

#include <QLabel>
#include <QString>

// A status bar field that shows as much of its text as its width holds, with "…" where
// the rest is left out (in the middle for a file name, at the end otherwise), and the whole
// text in its tooltip. It asks for room for its whole text, and keeps at least that room
// up to the width of sample: a short text always shows whole, a long one as much of it.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    ElidedLabel(const char* name, Qt::TextElideMode elide, QString sample, QWidget* parent);

    // The whole text: shown elided to the label's width, whole in the tooltip.
    void setFullText(const QString& text);
    [[nodiscard]] const QString& fullText() const { return full_; }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The width text takes in the label.
    [[nodiscard]] int widthOf(const QString& text) const;
    // The label's text: the whole text elided to the width it has now.
    void elide();

    QString full_;
    Qt::TextElideMode elide_;
    QString sample_;
};
