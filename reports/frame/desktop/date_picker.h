#pragma once
// DatePicker: the report windows' date input — a date edit showing dd-MM-yyyy with a calendar
// that drops down. Tab and Shift+Tab leave it whole, like every other input (the day, month
// and year are reached with the arrow keys); F4 and Alt+Down open the calendar, as they open
// any drop-down list.
//
// The edit itself holds only dates from the year 100 to 9999 and puts back the last date it
// held when what was typed is no date of it (an unfinished year, a day its month does not
// have), and cuts a typed day to its month's end when the month typed after it is shorter.
// Neither may pass unnoticed: typedText() gives what the user typed, whenever the picker did
// not keep it as typed, so that the window can refuse it by name; the days SQL Server cannot
// hold are the window's to refuse too.
#include <QDateEdit>

namespace talvers {

class DatePicker : public QDateEdit {
    Q_OBJECT
  public:
    DatePicker(const QDate& date, QWidget* parent = nullptr);

    // Drops the calendar down, as a click on the arrow does.
    void openCalendar();

    // What the user last typed when the picker did not keep it as typed (a text still being
    // typed counts), else the date shown, "dd-MM-yyyy".
    QString typedText() const;
    // Forgets the text replaced, once the user was told about it.
    void forgetTypedText() {
        reverted_.clear();
        cutDay_.clear();
    }

  protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // After the edit took `typed` in: notes it when the edit shows something else.
    void noteReplaced(const QString& typed);
    void noteCutDay(const QDate& before, const QDate& after);

    QString reverted_;  // typed, then put back: forgotten once anything is typed again
    QString cutDay_;    // a day cut short: forgotten once the day is typed again
    QDate lastDate_;
    bool typing_ = false;
};

}  // namespace talvers
