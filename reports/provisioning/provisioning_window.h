#pragma once
// frmMapaAprovisionamento: the provisioning window. DTPicker1_0 starts on 1 January of the
// current year and DTPicker1_1 on today; campo_0..2 hold up to 6 characters (warehouse, group,
// family) and are emptied at the end of every run. Tab goes through the dates, then each field
// followed by its list button. Each btLista_i opens the pick list of its field; a picked code
// is written into the field and the focus moves on past the field and its button, a cancelled
// list gives the field its focus back and changes nothing. For the default company, whose
// provisioning has no group or family condition, the group and family fields and their lists
// are disabled, their tooltips saying why (the captions stay). No company's query reads the
// warehouse field: it and its list are disabled for every company, their tooltips naming the
// warehouses the report counts. Every caption has its access
// key: 1ª &Data, &Ult.Data, &Armazém, &Grupo, &Família.
#include <QString>

#include <array>
#include <functional>
#include <string>

#include "reports/frame/desktop/report_window.h"
#include "reports/provisioning/pick_lists.h"
#include "reports/provisioning/provisioning_request.h"

class QLineEdit;
class QPushButton;

namespace talvers {

class frmMapaAprovisionamento : public ReportWindow {
    Q_OBJECT
  public:
    // Shows the pick list `list` (families of `group` when not empty) and returns the picked
    // code, "" when nothing was picked.
    using PickListChooser = std::function<std::string(PickList list, const std::string& group)>;

    frmMapaAprovisionamento(const ErpSession& session, const ReportWindowServices& services,
                            QWidget* parent = nullptr);

    // What confirm would run now.
    ProvisioningRequest request() const;

    // Replaces the pick-list dialog (tests).
    void setPickListChooser(PickListChooser chooser) { chooser_ = std::move(chooser); }

    // btLista_i click.
    void btLista(int index);

  protected:
    ReportRun prepareRun() override;
    // A first day after the last, as the command line refuses it.
    std::string inputRefusal() const override;

  private:
    void clearFields();

    QDateEdit* firstDate_;
    QDateEdit* lastDate_;
    std::array<QLineEdit*, 3> campo_{};
    std::array<QPushButton*, 3> lists_{};
    PickListChooser chooser_;
};

}  // namespace talvers
