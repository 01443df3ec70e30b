#include "shell/desktop/qt_message_presenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace talvers {
namespace {

QMessageBox::StandardButton standardButton(MessageResult result) {
    switch (result) {
        case MessageResult::Cancel:
            return QMessageBox::Cancel;
        case MessageResult::Yes:
            return QMessageBox::Yes;
        case MessageResult::No:
            return QMessageBox::No;
        default:
            return QMessageBox::Ok;
    }
}

QMessageBox::StandardButtons standardButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        default:
            return QMessageBox::Ok;
    }
}

MessageResult resultOf(int button, MessageButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageResult::Ok;
        case QMessageBox::Cancel:
            return MessageResult::Cancel;
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        default:
            // Closed without a button: the box's way of saying no.
            if (buttons == MessageButtons::OkCancel) return MessageResult::Cancel;
            if (buttons == MessageButtons::YesNo) return MessageResult::No;
            return MessageResult::Ok;
    }
}

}  // namespace

MessageResult QtMessagePresenter::present(const MessageBoxSpec& box) {
    QMessageBox message(
        box.icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
        QString::fromStdString(box.title), QString::fromStdString(box.text),
        standardButtons(box.buttons), QApplication::activeWindow());
    message.setObjectName("MessageBox");
    // Texts carry database descriptions and file names, never markup.
    message.setTextFormat(Qt::PlainText);
    // The engine's own words sit behind "Mostrar detalhes...", apart from the sentence.
    if (!box.details.empty()) message.setDetailedText(QString::fromStdString(box.details));
    message.setDefaultButton(standardButton(box.defaultButton));
    if (box.buttons == MessageButtons::OkCancel) message.setEscapeButton(QMessageBox::Cancel);
    if (box.buttons == MessageButtons::YesNo) message.setEscapeButton(QMessageBox::No);
    return resultOf(message.exec(), box.buttons);
}

}  // namespace talvers
