#include "reports/provisioning/pick_list_dialog.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace talvers {
namespace {

constexpr int kDialogHeightTwips = 5400;

}  // namespace

PickListDialog::PickListDialog(const Table& rows, const PickListLayout& layout, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("PickListDialog"));
    setWindowTitle(QString::fromStdString(layout.caption));

    list_ = new QTableWidget(static_cast<int>(rows.rowCount()), static_cast<int>(rows.fieldCount()),
                             this);
    list_->setObjectName(QStringLiteral("Lista"));
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->verticalHeader()->hide();
    QStringList headings;
    for (const Field& field : rows.fields()) headings << QString::fromStdString(field.name);
    list_->setHorizontalHeaderLabels(headings);
    for (size_t r = 0; r < rows.rowCount(); ++r) {
        for (size_t c = 0; c < rows.fieldCount(); ++c) {
            list_->setItem(static_cast<int>(r), static_cast<int>(c),
                           new QTableWidgetItem(QString::fromStdString(rows.at(r, c).toText())));
        }
    }
    const int dpi = logicalDpiX();
    if (list_->columnCount() > 0)
        list_->setColumnWidth(0, pixelsFromTwips(layout.firstColumnTwips, dpi));
    if (list_->columnCount() > 1)
        list_->setColumnWidth(1, pixelsFromTwips(layout.secondColumnTwips, dpi));
    if (list_->rowCount() > 0) list_->setCurrentCell(0, 0);
    // Typing looks for the typed start in the current column: keeping the current cell on
    // the code makes the first letters of a code find its row, wherever the user clicked.
    connect(list_, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column != 0) list_->setCurrentCell(row, 0);
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    // Typing goes to the list from the start.
    list_->setFocus();

    auto* box = new QVBoxLayout(this);
    box->addWidget(list_);
    box->addWidget(buttons);
    // The list's own width; the height shows about a dozen rows, so that a pick rarely needs
    // scrolling (the layout alone would leave room for one row).
    resize(pixelsFromTwips(layout.dialogWidthTwips, dpi), pixelsFromTwips(kDialogHeightTwips, dpi));
}

QString PickListDialog::pickedCode() const {
    const int row = list_->currentRow();
    if (row < 0 || list_->columnCount() < 1) return {};
    const QTableWidgetItem* item = list_->item(row, 0);
    return item ? item->text() : QString();
}

std::string PickListDialog::choose(Connection& bd, PickList list, const std::string& group,
                                   QWidget* parent) {
    PickListDialog dialog(loadPickList(bd, list, group), pickListLayout(list), parent);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.pickedCode().toStdString();
}

int PickListDialog::pixelsFromTwips(int twips, int dotsPerInch) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dotsPerInch / 1440.0));
}

}  // namespace talvers
