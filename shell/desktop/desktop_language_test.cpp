#include "shell/desktop/desktop_language.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>

namespace talvers {
namespace {

// Run under LANG=C (see CMakeLists.txt): nothing Portuguese may come from the system.
class DesktopLanguageTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(useEuropeanPortuguese(*qApp)); }
};

QStringList labelsOf(const QWidget& widget) {
    QStringList texts;
    for (const QLabel* label : widget.findChildren<QLabel*>()) texts << label->text();
    return texts;
}

TEST_F(DesktopLanguageTest, TheSaveDialogSpeaksEuropeanPortuguese) {
    // As the report windows ask for the workbook's name.
    QFileDialog dialog(nullptr, "Guardar", QString(), "Ficheiros de excel (*.xlsx)");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.show();
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    const QPushButton* accept = buttons->button(QDialogButtonBox::Save)
                                    ? buttons->button(QDialogButtonBox::Save)
                                    : buttons->button(QDialogButtonBox::Open);
    ASSERT_NE(accept, nullptr);
    EXPECT_EQ(accept->text().remove('&'), "Guardar");
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text().remove('&'), "Cancelar");
    const QStringList labels = labelsOf(dialog);
    EXPECT_TRUE(labels.contains("&Nome do ficheiro:")) << labels.join('|').toStdString();
    EXPECT_TRUE(labels.contains("Ficheiros do tipo:")) << labels.join('|').toStdString();
    EXPECT_TRUE(labels.contains("Procurar em:")) << labels.join('|').toStdString();
}

TEST_F(DesktopLanguageTest, QtsBrazilianTextsFillWhatTheProgramsTranslationLacks) {
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save"), "Guardar");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Alt+Left"), "Alt+Esquerda");
}

TEST_F(DesktopLanguageTest, DatesAndCalendarsArePortuguese) {
    QDateEdit edit(QDate(2026, 3, 15));
    edit.setCalendarPopup(true);
    edit.setDisplayFormat("d MMMM yyyy");
    EXPECT_EQ(edit.text(), "15 março 2026");
    EXPECT_EQ(edit.calendarWidget()->locale().monthName(3), "março");
}

}  // namespace
}  // namespace talvers
