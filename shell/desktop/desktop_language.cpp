#include "shell/desktop/desktop_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace talvers {
namespace {

constexpr const char* kOwnTranslation = "qtbase_talvers_pt_PT.qm";

bool install(QCoreApplication& app, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(&app);
    if (translator->load(name, folder)) return QCoreApplication::installTranslator(translator);
    delete translator;
    return false;
}

}  // namespace

QString translationsFolder() {
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {QStringLiteral("../translations"), QStringLiteral("../share/talvers/translations")}) {
        const QString folder = QDir::cleanPath(program.filePath(candidate));
        if (QFileInfo::exists(folder + '/' + kOwnTranslation)) return folder;
    }
    return {};
}

bool useEuropeanPortuguese(QCoreApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
    // Qt consults the translator installed last first: the Brazilian fallback goes in first.
    install(app, "qtbase_pt_BR", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    const QString folder = translationsFolder();
    return !folder.isEmpty() && install(app, kOwnTranslation, folder);
}

}  // namespace talvers
