#pragma once
// DatePicker: the report windows' date input — a date edit showing dd-MM-yyyy with a calendar
// that drops down. Tab and Shift+Tab leave it whole, like every other input (the day, month
// and year are reached with the arrow keys); F4 and Alt+Down open the calendar, as they open
// any drop-down list.
#include <QDateEdit>

namespace talvers {

class DatePicker : public QDateEdit {
    Q_OBJECT
  public:
    DatePicker(const QDate& date, QWidget* parent = nullptr);

    // Drops the calendar down, as a click on the arrow does.
    void openCalendar();

  protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace talvers
