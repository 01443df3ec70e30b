#include "shell/desktop/common/elided_label.h"

#include <QFontMetrics>
#include <QResizeEvent>

namespace talvers {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

void ElidedLabel::setFullText(const QString& text) {
    fullText_ = text;
    setToolTip(text);
    elide();
}

QSize ElidedLabel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const {
    return minimumSizeHint();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() {
    // A framed label with no indent of its own indents its text by half an "x" (QLabel).
    const int indentation =
        indent() >= 0 ? indent() : fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    const int room = contentsRect().width() - 2 * margin() - indentation;
    setText(fontMetrics().elidedText(fullText_, Qt::ElideMiddle, qMax(room, 0)));
}

}  // namespace talvers
