#include "shell/desktop/qt_message_presenter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace talvers {
namespace {

// What the box looked like when it came up.
struct SeenBox {
    QString title;
    QString text;
    QString details;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool modal = false;
};

// Waits for the next modal message box, records it and lets `answer` close it.
void answerNextBox(SeenBox& seen, std::function<void(QMessageBox&)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, &seen, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        timer->stop();
        timer->deleteLater();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.details = box->detailedText();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->standardButton(box->defaultButton());
        seen.modal = box->isModal();
        answer(*box);
    });
    timer->start();
}

std::function<void(QMessageBox&)> click(QMessageBox::StandardButton which) {
    return [which](QMessageBox& box) { box.button(which)->click(); };
}

std::function<void(QMessageBox&)> press(Qt::Key key) {
    return [key](QMessageBox& box) { QTest::keyClick(&box, key); };
}

TEST(QtMessagePresenter, Kind1IsAWarningNamingTheFieldWithOk) {
    QtMessagePresenter presenter;
    SeenBox seen;
    answerNextBox(seen, click(QMessageBox::Ok));
    EXPECT_EQ(showMessage(presenter, "Data", "ignored", 1), 0);
    EXPECT_EQ(seen.title, "Informação");
    EXPECT_EQ(seen.text, "Campo obrigatório [Data].");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_TRUE(seen.modal);
}

TEST(QtMessagePresenter, Kind2IsInformationWithOkAndKeepsTheTextAsItIs) {
    QtMessagePresenter presenter;
    SeenBox seen;
    answerNextBox(seen, press(Qt::Key_Return));
    const std::string text = "Situação Anómala\n\rErro: <b>x</b>  91";
    EXPECT_EQ(showMessage(presenter, "", text, 2), 0);
    EXPECT_EQ(seen.title, "Informação");
    EXPECT_EQ(seen.text.toStdString(), text);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

// The engine's text sits behind "Mostrar detalhes...", out of the sentence.
TEST(QtMessagePresenter, AnEnginesTextIsTheBoxsDetails) {
    QtMessagePresenter presenter;
    SeenBox seen;
    answerNextBox(seen, press(Qt::Key_Return));
    showFailure(presenter, NumberedError(1, "A base de dados não tem a tabela Vendedor.",
                                         "no such table: Vendedor"));
    EXPECT_EQ(seen.text.toStdString(),
              "Situação Anómala\n\rErro: A base de dados não tem a tabela Vendedor.  1");
    EXPECT_EQ(seen.details, "no such table: Vendedor");
    answerNextBox(seen, press(Qt::Key_Return));
    showMessage(presenter, "", "Sem detalhes", 2);
    EXPECT_EQ(seen.details, "");
}

TEST(QtMessagePresenter, Kind3HasCancelAsDefaultAndReturnsTheButtonCode) {
    QtMessagePresenter presenter;
    SeenBox seen;
    answerNextBox(seen, press(Qt::Key_Return));
    EXPECT_EQ(showMessage(presenter, "", "Continuar?", 3), 2);  // Enter takes Cancel
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Cancel);

    answerNextBox(seen, click(QMessageBox::Ok));
    EXPECT_EQ(showMessage(presenter, "", "Continuar?", 3), 1);
    answerNextBox(seen, press(Qt::Key_Escape));
    EXPECT_EQ(showMessage(presenter, "", "Continuar?", 3), 2);
}

TEST(QtMessagePresenter, Kind4AsksYesOrNo) {
    QtMessagePresenter presenter;
    SeenBox seen;
    answerNextBox(seen, click(QMessageBox::Yes));
    EXPECT_EQ(showMessage(presenter, "", "Gravar?", 4), 6);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);

    answerNextBox(seen, click(QMessageBox::No));
    EXPECT_EQ(showMessage(presenter, "", "Gravar?", 4), 7);
    answerNextBox(seen, press(Qt::Key_Escape));
    EXPECT_EQ(showMessage(presenter, "", "Gravar?", 4), 7);
}

}  // namespace
}  // namespace talvers
