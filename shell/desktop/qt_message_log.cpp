#include "shell/desktop/qt_message_log.h"

#include <QFile>

#include <mutex>

namespace talvers {
namespace {

const char* kindOf(QtMsgType type) {
    switch (type) {
        case QtDebugMsg:
            return "depuração";
        case QtInfoMsg:
            return "informação";
        case QtWarningMsg:
            return "aviso";
        case QtCriticalMsg:
            return "erro";
        case QtFatalMsg:
            return "erro fatal";
    }
    return "aviso";
}

// Messages may come from any thread.
void toLog(QtMsgType type, const QMessageLogContext&, const QString& text) {
    static std::mutex writing;
    const QString log = qEnvironmentVariable(kLogVariable);
    if (log.isEmpty()) return;
    const std::lock_guard lock(writing);
    QFile file(log);
    if (!file.open(QIODevice::Append | QIODevice::Text)) return;
    file.write(qtLogLine(type, text, DateTime::now()).toUtf8());
}

}  // namespace

QString qtLogLine(QtMsgType type, const QString& text, const DateTime& when) {
    return QString::fromStdString(when.isoDateTime()) + QLatin1Char(' ') +
           QString::fromUtf8(kindOf(type)) + QStringLiteral(": ") + text + QLatin1Char('\n');
}

void routeQtMessages() {
    qInstallMessageHandler(toLog);
}

}  // namespace talvers
