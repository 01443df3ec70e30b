#include "reports/frame/desktop/date_picker.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace talvers {
namespace {

const QString kFormat = QStringLiteral("dd-MM-yyyy");

}  // namespace

DatePicker::DatePicker(const QDate& date, QWidget* parent) : QDateEdit(date, parent) {
    setCalendarPopup(true);
    setDisplayFormat(kFormat);
    // The edit's own range: a year typed outside the window's days stays as typed, for the
    // window to refuse in words, instead of being put back silently.
    setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    lastDate_ = date;
    connect(this, &QDateEdit::dateChanged, this, [this](const QDate& now) {
        // A date picked in the calendar or set by the program is what it shows.
        if (!typing_) forgetTypedText();
        noteCutDay(lastDate_, now);
        lastDate_ = now;
    });
}

QString DatePicker::typedText() const {
    if (!reverted_.isEmpty()) return reverted_;
    if (!cutDay_.isEmpty()) return cutDay_;
    return lineEdit()->text();
}

bool DatePicker::focusNextPrevChild(bool next) {
    return QWidget::focusNextPrevChild(next);
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    const bool f4 = event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier;
    const bool altDown = event->key() == Qt::Key_Down &&
                         (event->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier;
    if (f4 || altDown) {
        openCalendar();
        event->accept();
        return;
    }
    const QString typed = lineEdit()->text();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    typing_ = !event->text().isEmpty() && event->text().front().isDigit();
    if (typing_) {
        reverted_.clear();
        if (currentSection() == QDateTimeEdit::DaySection) cutDay_.clear();
    }
    QDateEdit::keyPressEvent(event);
    typing_ = false;
    // Enter takes the text in before the window's default button sees the key.
    if (enter) noteReplaced(typed);
}

void DatePicker::focusOutEvent(QFocusEvent* event) {
    const QString typed = lineEdit()->text();
    QDateEdit::focusOutEvent(event);
    noteReplaced(typed);
}

void DatePicker::noteReplaced(const QString& typed) {
    if (typed != lineEdit()->text()) reverted_ = typed;
}

// A day typed before a shorter month or a year without 29 February is cut to the month's end.
void DatePicker::noteCutDay(const QDate& before, const QDate& after) {
    if (!typing_ || !before.isValid() || !after.isValid() || after.day() >= before.day()) return;
    if (after.day() != after.daysInMonth() || currentSection() == QDateTimeEdit::DaySection) return;
    cutDay_ = QStringLiteral("%1-%2-%3")
                    .arg(before.day(), 2, 10, QLatin1Char('0'))
                    .arg(after.month(), 2, 10, QLatin1Char('0'))
                    .arg(after.year(), 4, 10, QLatin1Char('0'));
}

// The date edit opens its calendar only from a press on its arrow, so that is what this does:
// the arrow is found where the style draws it for a drop-down.
void DatePicker::openCalendar() {
    if (!calendarPopup() || isReadOnly()) return;
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QRect arrow =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    if (!arrow.isValid()) return;
    const QPointF at = arrow.center();
    QMouseEvent press(QEvent::MouseButtonPress, at, mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(this, &press);
}

}  // namespace talvers
