#include "core/store/settings_record.h"
#include "core/store/table_definition.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

// A table number has at most nine digits, so that it always fits an int: nine zeros name table 0,
// ten are refused as a usage error, by the page run and the CSV commands alike.
TEST(PublishTableNumber, NineDigitsAreTheMost) {
    test::TempFolder folder;
    const QByteArray path = test::sjis(folder.path());
    folder.write(QStringLiteral("TAVELO.DAT"), SettingsRecord{path, path + "html/", path, ""}.encode());
    TableDefinition definition;
    definition.TableName = "t";
    definition.FileName = "t";
    definition.HeaderName = "0:top";
    definition.FooterName = "0:top";
    folder.write(QStringLiteral("TABLE.DAT"), definition.encode());
    folder.write(QStringLiteral("HEAD.0"), "<p>\r\n");
    folder.write(QStringLiteral("FOOT.0"), "</p>\r\n");
    folder.write(QStringLiteral("t.TBL"), {});
    QDir(folder.path()).mkdir(QStringLiteral("html"));
    const QString out = folder.file(QStringLiteral("out.csv"));
    for (const int digits : {9, 10}) {
        const QString number(digits, QLatin1Char('0'));
        for (const QStringList& command :
             {QStringList{number}, QStringList{QStringLiteral("--export-csv"), number, out}}) {
            QProcess process;
            process.start(QStringLiteral(KELVANO_PUBLISH_PATH),
                          QStringList{QStringLiteral("--program-folder"), folder.path()} + command);
            ASSERT_TRUE(process.waitForFinished(30000));
            EXPECT_EQ(process.exitCode(), digits == 9 ? 0 : 2)
                << command.join(u' ').toStdString() << process.readAllStandardError().toStdString();
        }
    }
}

} // namespace
} // namespace kelvano
