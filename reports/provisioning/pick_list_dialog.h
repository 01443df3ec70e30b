#pragma once
// PickListDialog: the pick list beside a provisioning filter. Shows the list's rows (code
// first, description second) under its caption, sized from the list's widths in twips, and
// gives back the first-column text of the picked row (double-click, Enter or OK), or "" when
// the user cancels. The list has the focus; typing the first letters of a code selects its
// row.
#include <QDialog>
#include <QString>

#include <string>

#include "reports/provisioning/pick_lists.h"
#include "shell/dataaccess/table.h"

class QTableWidget;

namespace talvers {

class PickListDialog : public QDialog {
    Q_OBJECT
  public:
    PickListDialog(const Table& rows, const PickListLayout& layout, QWidget* parent = nullptr);

    // The first column of the current row; "" when the list is empty.
    QString pickedCode() const;

    // Loads the list from `bd` (DatabaseError propagates), shows it and returns the picked code.
    static std::string choose(Connection& bd, PickList list, const std::string& group,
                              QWidget* parent);

    // Twips (1/1440 inch) to pixels at the given logical resolution.
    static int pixelsFromTwips(int twips, int dotsPerInch);

  private:
    QTableWidget* list_;
};

}  // namespace talvers
