#include "app/elided_label.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <utility>

ElidedLabel::ElidedLabel(const char* name, Qt::TextElideMode elide, QString sample, QWidget* parent)
    : QLabel(parent), elide_(elide), sample_(std::move(sample)) {
    setObjectName(QLatin1String(name));
    // The layout gives it from minimumSizeHint up to its whole text and more; the text follows.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text) {
    full_ = text;
    setToolTip(text);
    elide();
    updateGeometry(); // the whole text asks for another width
}

QSize ElidedLabel::sizeHint() const {
    return {widthOf(full_), QLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    return {std::min(widthOf(sample_), widthOf(full_)), QLabel::minimumSizeHint().height()};
}

int ElidedLabel::widthOf(const QString& text) const {
    const QMargins margins = contentsMargins();
    // Rounded up: elidedText measures in fractions of a pixel, and a width rounded down
    // would cut the text's last letter.
    return static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(text))) + 1 +
           margins.left() + margins.right();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() {
    QLabel::setText(fontMetrics().elidedText(full_, elide_, contentsRect().width()));
}
