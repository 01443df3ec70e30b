#include "reports/provisioning/provisioning_window.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "reports/provisioning/pick_list_dialog.h"
#include "reports/provisioning/provisioning.h"
#include "reports/provisioning/provisioning_sql.h"
#include "shell/dataaccess/database_error.h"

namespace talvers {

namespace {

struct FieldSpec {
    const char* caption;
    const char* captionName;
    const char* toolTip;
    const char* listToolTip;
    // Which company's provisioning query reads the field: neither variant reads the warehouse
    // (each counts fixed warehouses); only the alternate one has a group and family condition.
    enum class ReadBy { NoCompany, AlternateCompany } readBy;
};

// Indexed like campo_i / btLista_i.
const FieldSpec kFields[3] = {
    {"&Armazém", "Label2_3", "Armazém.", "Lista de Armazéns", FieldSpec::ReadBy::NoCompany},
    {"&Grupo", "Label2_4", "Grupo.", "Lista de Grupos", FieldSpec::ReadBy::AlternateCompany},
    {"&Família", "Label2_0", "Família.", "Lista de Famílias", FieldSpec::ReadBy::AlternateCompany},
};

constexpr const char* kIgnoredHere =
    " Sem efeito nesta empresa: o seu mapa de aprovisionamento não filtra por grupo nem por "
    "família.";

// Why the warehouse field has no effect: the warehouses the company's query counts.
QString warehousesCounted(bool companyVariant) {
    const auto warehouses = provisioningWarehouses(companyVariant);
    return QStringLiteral(" Sem efeito: o mapa de aprovisionamento conta sempre os armazéns %1 e "
                          "%2.")
        .arg(QString::fromUtf8(warehouses[0].data(), static_cast<qsizetype>(warehouses[0].size())),
             QString::fromUtf8(warehouses[1].data(), static_cast<qsizetype>(warehouses[1].size())));
}

// A list button as narrow as its "..." allows, so that it reads as part of its field.
void sizeToDots(QPushButton* button) {
    const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) + 2 * margin);
}

}  // namespace

frmMapaAprovisionamento::frmMapaAprovisionamento(const ErpSession& session,
                                                 const ReportWindowServices& services,
                                                 QWidget* parent)
    : ReportWindow(QStringLiteral("Mapa Aprovisionamento"), session, services, parent),
      firstDate_(addDatePicker(QStringLiteral("DTPicker1_0"), QStringLiteral("Intervalo de datas."),
                               ProvisioningRequest::defaults(today()).firstDate)),
      lastDate_(addDatePicker(QStringLiteral("DTPicker1_1"), QStringLiteral("Intervalo de datas."),
                              ProvisioningRequest::defaults(today()).lastDate)),
      chooser_([this](PickList list, const std::string& group) {
          return PickListDialog::choose(this->session().main, list, group, this);
      }) {
    setObjectName(QStringLiteral("frmMapaAprovisionamento"));
    QGridLayout* grid = inputLayout();
    grid->addWidget(addCaption(QStringLiteral("Label2_5"), QStringLiteral("1ª &Data"), firstDate_),
                    0, 0);
    grid->addWidget(firstDate_, 0, 1);
    grid->addWidget(addCaption(QStringLiteral("Label2_6"), QStringLiteral("&Ult.Data"), lastDate_),
                    0, 2);
    grid->addWidget(lastDate_, 0, 3);

    QList<QWidget*> chain{firstDate_, lastDate_};
    for (int i = 0; i < 3; ++i) {
        const FieldSpec& spec = kFields[i];
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("campo_%1").arg(i));
        field->setMaxLength(6);
        field->setToolTip(QString::fromUtf8(spec.toolTip));
        auto* list = new QPushButton(QStringLiteral("..."), this);
        list->setObjectName(QStringLiteral("btLista_%1").arg(i));
        list->setToolTip(QString::fromUtf8(spec.listToolTip));
        sizeToDots(list);
        connect(list, &QPushButton::clicked, this, [this, i] { btLista(i); });
        // The caption stays where a field has no effect, so the window looks the same for
        // every company; the field and its list say why they cannot be used.
        const bool readByNone = spec.readBy == FieldSpec::ReadBy::NoCompany;
        if (readByNone || !session.companyVariant) {
            const QString why = readByNone ? warehousesCounted(session.companyVariant)
                                           : QString::fromUtf8(kIgnoredHere);
            field->setEnabled(false);
            list->setEnabled(false);
            field->setToolTip(field->toolTip() + why);
            list->setToolTip(list->toolTip() + QStringLiteral(".") + why);
        }
        grid->addWidget(
            addCaption(QString::fromUtf8(spec.captionName), QString::fromUtf8(spec.caption), field),
            i + 1, 0);
        grid->addWidget(field, i + 1, 1);
        grid->addWidget(list, i + 1, 2);
        campo_[i] = field;
        lists_[i] = list;
        chain << field << list;
    }
    setInputChain(chain);

    connect(this, &ReportWindow::runFinished, this, &frmMapaAprovisionamento::clearFields);
}

ProvisioningRequest frmMapaAprovisionamento::request() const {
    return {dateOf(firstDate_), dateOf(lastDate_), campo_[0]->text().toStdString(),
            campo_[1]->text().toStdString(), campo_[2]->text().toStdString()};
}

ReportWindow::ReportRun frmMapaAprovisionamento::prepareRun() {
    return {[session = session(), request = request()](ReportProgress& progress) {
                return runProvisioning(session, request, progress);
            },
            provisioningOutput()};
}

std::string frmMapaAprovisionamento::inputRefusal() const {
    return request().rangeRefusal(&DateTime::dmyDate);
}

void frmMapaAprovisionamento::btLista(int index) {
    // The connection belongs to the running engine until its run ends.
    if (isRunning() || index < 0 || index > 2 || !lists_[index]->isEnabled()) return;
    QLineEdit* field = campo_[index];
    field->setFocus();
    const auto list = static_cast<PickList>(index);
    const std::string group =
        list == PickList::Families ? campo_[1]->text().toStdString() : std::string();
    std::string code;
    try {
        code = chooser_(list, group);
    } catch (const DatabaseError& error) {
        showFailure(messages(), error);
    }
    field->setFocus();
    if (code.empty()) return;
    field->setText(QString::fromStdString(code));
    field->selectAll();
    // On past the field and its own list button: to the next filter, or to btConf after the
    // family, ready for the next keystroke.
    lists_[index]->setFocus();
    focusNextChild();
}

void frmMapaAprovisionamento::clearFields() {
    for (QLineEdit* field : campo_) field->clear();
}

}  // namespace talvers
