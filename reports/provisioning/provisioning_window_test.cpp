#include "reports/provisioning/provisioning_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QDateEdit>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <set>

#include "reports/frame/desktop/date_picker.h"
#include "reports/provisioning/pick_list_dialog.h"
#include "reports/provisioning/provisioning_sql.h"
#include "shell/dataaccess/database_error.h"
#include "tests/support/desktop/report_window_test_support.h"
#include "tests/support/erp_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_dump.h"

namespace talvers {
namespace {

using namespace talvers::testing;

// The variant company's window, where every filter has its effect.
class ProvisioningWindowTest : public ::testing::Test {
  protected:
    explicit ProvisioningWindowTest(bool companyVariant = true)
        : window(db.session(LookupMode::SetBased, companyVariant), desktop.services()) {
        window.setPickListChooser([this](PickList list, const std::string& group) {
            asked.emplace_back(list, group);
            if (pickFailure)
                throw DatabaseError(208, "A base de dados não tem a tabela Grupos.",
                                    "Invalid object name 'Grupos'.");
            return answer;
        });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QLineEdit* campo(int i) {
        return control<QLineEdit>(window, QStringLiteral("campo_%1").arg(i).toUtf8().constData());
    }
    void clickList(int i) {
        QTest::mouseClick(
            control<QPushButton>(window, QStringLiteral("btLista_%1").arg(i).toUtf8().constData()),
            Qt::LeftButton);
    }

    ErpFixture db;
    ScriptedDesktop desktop;
    frmMapaAprovisionamento window;
    std::vector<std::pair<PickList, std::string>> asked;
    std::string answer;
    bool pickFailure = false;
    TempDir out;
};

// The default company's window: its provisioning has no group or family condition.
class ProvisioningWindowDefaultCompany : public ProvisioningWindowTest {
  protected:
    ProvisioningWindowDefaultCompany() : ProvisioningWindowTest(false) {}
};

TEST_F(ProvisioningWindowTest, ControlsCaptionsAndStartValues) {
    EXPECT_EQ(window.windowTitle(), "Mapa Aprovisionamento");
    auto* first = control<QDateEdit>(window, "DTPicker1_0");
    auto* last = control<QDateEdit>(window, "DTPicker1_1");
    EXPECT_EQ(first->text(), "01-01-2024");
    EXPECT_EQ(last->text(), "29-02-2024");
    EXPECT_EQ(first->toolTip(), "Intervalo de datas.");
    EXPECT_EQ(last->toolTip(), "Intervalo de datas.");
    const std::pair<const char*, const char*> captions[] = {{"Label2_5", "1ª &Data"},
                                                            {"Label2_6", "&Ult.Data"},
                                                            {"Label2_3", "&Armazém"},
                                                            {"Label2_4", "&Grupo"},
                                                            {"Label2_0", "&Família"}};
    for (const auto& [name, text] : captions) {
        EXPECT_EQ(control<QLabel>(window, name)->text(), QString::fromUtf8(text)) << name;
    }
    const char* fieldTips[] = {"Armazém.", "Grupo.", "Família."};
    const char* listTips[] = {"Lista de Armazéns", "Lista de Grupos", "Lista de Famílias"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(campo(i)->maxLength(), 6);
        EXPECT_TRUE(campo(i)->text().isEmpty());
        EXPECT_TRUE(campo(i)->toolTip().startsWith(QString::fromUtf8(fieldTips[i])));
        EXPECT_TRUE(
            control<QPushButton>(window, QStringLiteral("btLista_%1").arg(i).toUtf8().constData())
                ->toolTip()
                .startsWith(QString::fromUtf8(listTips[i])));
    }
}

TEST_F(ProvisioningWindowTest, TabFollowsTheLayoutFromTheFirstDate) {
    EXPECT_EQ(tabChain(window, 10),
              (std::vector<std::string>{"DTPicker1_0", "DTPicker1_1", "campo_1", "btLista_1",
                                        "campo_2", "btLista_2", "btConf", "btSair", "Grelha",
                                        "DTPicker1_0"}));
}

// Alt and a caption's letter reach its input; no two captions or buttons share a letter.
TEST_F(ProvisioningWindowTest, EveryInputHasItsOwnAccessKey) {
    std::set<int> keys;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->buddy()) continue;
        EXPECT_TRUE(keys.insert(QKeySequence::mnemonic(label->text())[0].toCombined()).second);
    }
    for (const char* button : {"btConf", "btSair", "btPasta"}) {
        const QString text = control<QPushButton>(window, button)->text();
        EXPECT_TRUE(keys.insert(QKeySequence::mnemonic(text)[0].toCombined()).second);
    }
    EXPECT_EQ(keys.size(), 8u);  // two dates, three fields, three buttons
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), campo(1));
}

// Group and family would change nothing for this company: their fields and lists are disabled
// and say why, their captions stay, and Tab passes them by.
TEST_F(ProvisioningWindowDefaultCompany, GroupAndFamilyAreDisabledAndSayWhy) {
    for (int i : {1, 2}) {
        auto* list =
            control<QPushButton>(window, QStringLiteral("btLista_%1").arg(i).toUtf8().constData());
        EXPECT_FALSE(campo(i)->isEnabled()) << i;
        EXPECT_FALSE(list->isEnabled()) << i;
        for (const QWidget* widget : {static_cast<QWidget*>(campo(i)), static_cast<QWidget*>(list)})
            EXPECT_TRUE(widget->toolTip().contains("Sem efeito nesta empresa")) << i;
    }
    EXPECT_TRUE(campo(1)->toolTip().startsWith("Grupo."));
    EXPECT_TRUE(
        control<QPushButton>(window, "btLista_2")->toolTip().startsWith("Lista de Famílias"));
    EXPECT_TRUE(control<QLabel>(window, "Label2_4")->isVisible());
    EXPECT_TRUE(control<QLabel>(window, "Label2_0")->isVisible());
    EXPECT_EQ(tabChain(window, 3),
              (std::vector<std::string>{"DTPicker1_0", "DTPicker1_1", "btConf"}));
    window.btLista(1);
    EXPECT_TRUE(asked.empty());
}

// No company's provisioning reads the warehouse: in both, its field and list are disabled and
// name the warehouses the report counts, as the company's query names them.
TEST(ProvisioningWarehouse, DisabledInBothCompaniesNamingTheWarehousesCounted) {
    for (const bool variant : {false, true}) {
        ErpFixture db;
        ScriptedDesktop desktop;
        frmMapaAprovisionamento window(db.session(LookupMode::SetBased, variant),
                                       desktop.services());
        const std::string sql = provisioningSql(variant, ProvisioningRequest::defaults(kLeapDay));
        const auto [first, second] = provisioningWarehouses(variant);
        EXPECT_NE(sql.find("='" + std::string(first) + "'"), std::string::npos);
        EXPECT_NE(sql.find("='" + std::string(second) + "'"), std::string::npos);
        EXPECT_EQ(std::string(first) + " " + std::string(second), variant ? "002 004" : "001 002");
        const QString counted = variant ? QStringLiteral("conta sempre os armazéns 002 e 004.")
                                        : QStringLiteral("conta sempre os armazéns 001 e 002.");
        auto* field = control<QLineEdit>(window, "campo_0");
        auto* list = control<QPushButton>(window, "btLista_0");
        EXPECT_FALSE(field->isEnabled()) << variant;
        EXPECT_FALSE(list->isEnabled()) << variant;
        EXPECT_TRUE(field->toolTip().startsWith("Armazém. Sem efeito")) << variant;
        EXPECT_TRUE(field->toolTip().endsWith(counted)) << field->toolTip().toStdString();
        EXPECT_TRUE(list->toolTip().startsWith("Lista de Armazéns. Sem efeito")) << variant;
        EXPECT_TRUE(list->toolTip().endsWith(counted)) << variant;
        EXPECT_EQ(control<QLabel>(window, "Label2_3")->text(), "&Armazém");
        window.btLista(0);
        EXPECT_TRUE(window.request().warehouse.empty());
    }
}

TEST_F(ProvisioningWindowTest, APickedCodeFillsTheFieldAndTheFocusMovesPastIt) {
    answer = "G1";
    clickList(1);
    EXPECT_EQ(campo(1)->text(), "G1");
    EXPECT_EQ(QApplication::focusWidget(), campo(2));
    // The families list is the one of the group now in the group field.
    answer = "F7";
    clickList(2);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], std::make_pair(PickList::Groups, std::string()));
    EXPECT_EQ(asked[1], std::make_pair(PickList::Families, std::string("G1")));
    EXPECT_EQ(campo(2)->text(), "F7");
    EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>(window, "btConf"));
}

TEST_F(ProvisioningWindowTest, ACancelledListLeavesTheFieldAndGivesItTheFocus) {
    campo(1)->setText("G9");
    answer = "";
    clickList(1);
    EXPECT_EQ(asked.at(0).first, PickList::Groups);
    EXPECT_EQ(campo(1)->text(), "G9");
    EXPECT_EQ(QApplication::focusWidget(), campo(1));
}

TEST_F(ProvisioningWindowTest, AListThatCannotBeLoadedShowsTheFailureMessage) {
    pickFailure = true;
    clickList(1);
    EXPECT_EQ(texts(desktop.messages),
              std::vector<std::string>{
                  "Situação Anómala\n\rErro: A base de dados não tem a tabela Grupos.  208"});
    EXPECT_EQ(desktop.messages.shown[0].details, "Invalid object name 'Grupos'.");
    EXPECT_TRUE(campo(1)->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), campo(1));
}

// What the command line refuses, the window refuses in the same words before anything runs,
// naming the field as its caption does and giving it the focus; nothing typed is silently
// replaced by another date. The first and last days SQL Server holds are taken.
TEST_F(ProvisioningWindowTest, DatesTheCommandLineRefusesAreRefusedByName) {
    auto* first = control<DatePicker>(window, "DTPicker1_0");
    auto* last = control<DatePicker>(window, "DTPicker1_1");
    const auto typeInto = [](DatePicker* picker, QDateTimeEdit::Section section,
                             const char* digits) {
        picker->setFocus();
        picker->setSelectedSection(section);
        QTest::keyClicks(picker, digits);
    };
    struct Case {
        const char* what;
        std::function<void()> enter;
        std::string refusal;  // "" for a run
        DatePicker* focused;
    };
    const Case cases[] = {
        {"reversed range", [&] { first->setDate(QDate(2024, 3, 1)); },
         "O primeiro dia das vendas (01-03-2024) é posterior ao último (29-02-2024)", first},
        {"year before 1753, then Tab",
         [&] {
             typeInto(first, QDateTimeEdit::YearSection, "1700");
             QTest::keyClick(first, Qt::Key_Tab);
         },
         "Data fora do intervalo em 1ª Data: '01-01-1700' (de 01-01-1753 a 31-12-9999).", first},
        {"the day before the first", [&] { first->setDate(QDate(1752, 12, 31)); },
         "Data fora do intervalo em 1ª Data: '31-12-1752' (de 01-01-1753 a 31-12-9999).", first},
        {"an unfinished year, then Enter",
         [&] {
             typeInto(last, QDateTimeEdit::YearSection, "20");
             QTest::keyClick(last, Qt::Key_Return);
         },
         "Data inválida em Ult.Data: '29-02-20' (formato DD-MM-AAAA).", last},
        {"an unfinished year, then Alt+C",
         [&] {
             typeInto(first, QDateTimeEdit::YearSection, "19");
             QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
         },
         "Data inválida em 1ª Data: '01-01-19' (formato DD-MM-AAAA).", first},
        {"a day its month does not have",
         [&] {
             last->setDate(QDate(2024, 1, 30));
             typeInto(last, QDateTimeEdit::DaySection, "30");
             typeInto(last, QDateTimeEdit::MonthSection, "02");
             QTest::keyClick(last, Qt::Key_Tab);
         },
         "Data inválida em Ult.Data: '30-02-2024' (formato DD-MM-AAAA).", last},
        {"the first day SQL Server holds", [&] { first->setDate(QDate(1753, 1, 1)); }, "",
         nullptr},
        {"a month's last day kept while another year is typed",
         [&] {
             last->setDate(QDate(2024, 1, 31));
             typeInto(last, QDateTimeEdit::YearSection, "2025");
             QTest::keyClick(last, Qt::Key_Tab);
         },
         "", nullptr},
    };
    for (const Case& c : cases) {
        first->setDate(QDate(2024, 1, 1));
        last->setDate(QDate(2024, 2, 29));
        desktop.messages.shown.clear();
        QSignalSpy finished(&window, &ReportWindow::runFinished);
        c.enter();
        if (c.refusal.empty()) {
            if (finished.count() == 0) window.confirm();
            EXPECT_TRUE(waitForRunEnd(finished)) << c.what;
            EXPECT_EQ(texts(desktop.messages), std::vector<std::string>{std::string(kNoDataMessage)})
                << c.what;
            continue;
        }
        if (desktop.messages.shown.empty()) window.confirm();
        EXPECT_EQ(texts(desktop.messages), std::vector<std::string>{c.refusal}) << c.what;
        EXPECT_EQ(finished.count(), 0) << c.what;
        EXPECT_FALSE(window.isRunning()) << c.what;
        EXPECT_EQ(QApplication::focusWidget(), c.focused) << c.what;
    }
}

TEST_F(ProvisioningWindowTest, FieldsAreEmptiedAfterARunWithoutRows) {
    for (int i = 0; i < 3; ++i) campo(i)->setText("X");
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_EQ(texts(desktop.messages), std::vector<std::string>{std::string(kNoDataMessage)});
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(campo(i)->text().isEmpty()) << i;
}

TEST_F(ProvisioningWindowDefaultCompany, FullRunWritesTheMapAndEmptiesTheFields) {
    db.execMain(
        "INSERT INTO Artigos (Codigo, Abrev, Nome, ArtouDes) VALUES ('A1', 'a1', 'Artigo 1', 0);"
        "INSERT INTO ArtArm (Artigo, Armazem, Existenc, ArmEncCl, ArmEncFo)"
        " VALUES ('A1', '001', 5, 0, 0);");
    campo(0)->setText("003");
    const auto file = out.path() / "mapa.xlsx";
    desktop.files.answer = file.string();
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_TRUE(desktop.messages.shown.empty());
    EXPECT_EQ(desktop.opener.opened, std::vector<std::string>{file.string()});
    const XlsxDump dump = dumpWorkbook(file);
    ASSERT_EQ(dump.sheetNames(), std::vector<std::string>{"Mapa Parovisionamento"});
    EXPECT_EQ(dump.cell("Mapa Parovisionamento", "A1").value,
              "Mapa Aprovisionamento em 29-02-2024");
    EXPECT_EQ(dump.cell("Mapa Parovisionamento", "A4").value, " A1");
    EXPECT_TRUE(campo(0)->text().isEmpty());
    // The dates keep what the user set.
    EXPECT_EQ(control<QDateEdit>(window, "DTPicker1_1")->text(), "29-02-2024");
}

// The real pick list, answered by keyboard.
class PickListDialogTest : public ::testing::Test {
  protected:
    PickListDialogTest() {
        db.execMain("INSERT INTO Grupos VALUES ('G2', 'Bombas'), ('G1', 'Válvulas');");
    }
    // Presses `key` on the list once the dialog is open, after moving to `row`.
    static void answerWith(int row, Qt::Key key) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, row, key] {
            auto* dialog = qobject_cast<PickListDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll->stop();
            poll->deleteLater();
            auto* list = dialog->findChild<QTableWidget*>(QStringLiteral("Lista"));
            EXPECT_EQ(dialog->windowTitle(), "Grupos");
            EXPECT_EQ(list->rowCount(), 2);
            EXPECT_EQ(list->columnWidth(0),
                      PickListDialog::pixelsFromTwips(1700, dialog->logicalDpiX()));
            EXPECT_EQ(list->columnWidth(1),
                      PickListDialog::pixelsFromTwips(5000, dialog->logicalDpiX()));
            list->setCurrentCell(row, 1);
            QTest::keyClick(list, key);
        });
        poll->start(10);
    }
    ErpFixture db;
};

TEST_F(PickListDialogTest, EnterGivesTheCodeOfTheCurrentRowEscapeGivesNothing) {
    answerWith(1, Qt::Key_Return);
    // Ordered by description: Bombas (G2), Válvulas (G1).
    EXPECT_EQ(PickListDialog::choose(db.bd(), PickList::Groups, "", nullptr), "G1");
    answerWith(0, Qt::Key_Escape);
    EXPECT_EQ(PickListDialog::choose(db.bd(), PickList::Groups, "", nullptr), "");
}

TEST_F(PickListDialogTest, TypingACodesFirstLettersFindsItsRow) {
    db.execMain("INSERT INTO Grupos VALUES ('H7', 'Anilhas');");
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll] {
        auto* dialog = qobject_cast<PickListDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        poll->stop();
        poll->deleteLater();
        auto* list = dialog->findChild<QTableWidget*>(QStringLiteral("Lista"));
        EXPECT_EQ(dialog->focusWidget(), list);
        // Wherever the user clicked, the search is on the codes.
        list->setCurrentCell(0, 1);
        QTest::keyClicks(list, "g1");
        QTest::keyClick(list, Qt::Key_Return);
    });
    poll->start(10);
    EXPECT_EQ(PickListDialog::choose(db.bd(), PickList::Groups, "", nullptr), "G1");
}

TEST(PickListDialogSize, TwipsToPixels) {
    EXPECT_EQ(PickListDialog::pixelsFromTwips(15, 96), 1);
    EXPECT_EQ(PickListDialog::pixelsFromTwips(5500, 96), 367);
    EXPECT_EQ(PickListDialog::pixelsFromTwips(1440, 120), 120);
}

}  // namespace
}  // namespace talvers
