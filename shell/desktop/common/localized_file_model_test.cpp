#include "shell/desktop/common/localized_file_model.h"

#include <gtest/gtest.h>

#include <QFileSystemModel>
#include <QLocale>
#include <QTest>

#include <fstream>

#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

// A file's type is named in European Portuguese, by its content when it has no extension: the
// program's own names for the types its dialogs show, the MIME database's Portuguese name, with
// a capital, for any other.
TEST(LocalizedFileModel, TypesAreNamedInEuropeanPortuguese) {
    // The program's language, as the desktop program sets it (desktop_language.h).
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
    testing::TempDir dir;
    const std::pair<const char*, std::string> files[] = {
        {"livro.xlsx", "PK\x03\x04"},
        {"sem-extensao", std::string("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10) + std::string(40, 'x')},
        {"erp.db", std::string("SQLite format 3\0", 16) + std::string(100, '\0')},
        {"notas.txt", "texto"},
        {"imagem.png", "\x89PNG\r\n\x1a\n"},
    };
    for (const auto& [name, bytes] : files) std::ofstream(dir / name, std::ios::binary) << bytes;
    QFileSystemModel files_;
    const QModelIndex root = files_.setRootPath(QString::fromStdString(dir.path().string()));
    LocalizedFileModel model;
    model.setSourceModel(&files_);
    ASSERT_TRUE(QTest::qWaitFor([&] { return files_.rowCount(root) == 5; }));
    QMap<QString, QString> types;
    for (int r = 0; r < files_.rowCount(root); ++r) {
        const QModelIndex name = model.mapFromSource(files_.index(r, 0, root));
        types[name.data().toString()] =
            model.index(name.row(), LocalizedFileModel::kTypeColumn, name.parent()).data().toString();
    }
    EXPECT_EQ(types["livro.xlsx"], "Livro do Excel");
    EXPECT_EQ(types["sem-extensao"], "Ficheiro zip");
    EXPECT_EQ(types["erp.db"], "Base de dados SQLite");
    EXPECT_EQ(types["notas.txt"], "Ficheiro de texto");
    EXPECT_EQ(types["imagem.png"], "Imagem PNG");
    EXPECT_EQ(LocalizedFileModel::typeName("application/x-nao-existe"), "application/x-nao-existe");
}

}  // namespace
}  // namespace talvers
