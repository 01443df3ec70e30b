#include "reports/frame/desktop/desktop_file_opener.h"

#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace talvers {
namespace {

constexpr int kLookupTimeoutMs = 3000;

// False only when the desktop's own lookup says no program takes the file's type.
bool desktopHasProgramFor(const QString& path) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString lookup = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (lookup.isEmpty()) return true;
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start(lookup, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(kLookupTimeoutMs)) {
        query.kill();
        query.waitForFinished();
        return true;  // no answer is no proof: leave it to the launcher
    }
    return query.exitCode() != 0 || !query.readAllStandardOutput().trimmed().isEmpty();
#else
    Q_UNUSED(path);
    return true;
#endif
}

}  // namespace

bool DesktopFileOpener::open(const std::string& path) {
    const QString file = QString::fromStdString(path);
    if (!desktopHasProgramFor(file)) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

}  // namespace talvers
