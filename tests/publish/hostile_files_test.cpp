#include "core/store/settings_record.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"
#include "publish_runner.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kelvano {
namespace {

using test::PublishResult;

/// A program folder with one 2-column table "s" (number 0) whose data files lie in DATA/ and whose
/// page goes to HTML/; kelvano-publish is run on it as files other programs left there stand.
class HostileFiles : public testing::Test {
protected:
    HostileFiles() {
        QDir(m_folder.path()).mkpath(QStringLiteral("DATA"));
        QDir(m_folder.path()).mkpath(QStringLiteral("HTML"));
        const QByteArray data = test::sjis(m_folder.file(QStringLiteral("DATA/")));
        const QByteArray html = test::sjis(m_folder.file(QStringLiteral("HTML/")));
        m_folder.write(QStringLiteral("TAVELO.DAT"), SettingsRecord{data, html, data, ""}.encode());
        TableDefinition definition;
        definition.TableName = "s";
        definition.FileName = "s";
        definition.ColumnCount = 2;
        m_folder.write(QStringLiteral("TABLE.DAT"), definition.encode());
    }

    QStringList withFolder(QStringList arguments) const {
        return QStringList{QStringLiteral("--program-folder"), m_folder.path()} + arguments;
    }
    PublishResult run(const QStringList& arguments, test::ChildLimits limits = {}) const {
        QProcess process;
        test::startPublish(process, withFolder(arguments), limits);
        return test::finishPublish(process);
    }
    QString file(const QString& name) const { return m_folder.file(name); }
    QByteArray read(const QString& name) const { return m_folder.read(name); }
    void write(const QString& name, QByteArrayView bytes) const { m_folder.write(name, bytes); }
    static QStringList importing(const QString& csv, bool append = false) {
        QStringList arguments{QStringLiteral("--import-csv"), QStringLiteral("0"), csv};
        if (append) {
            arguments.append(QStringLiteral("--append"));
        }
        return arguments;
    }

    test::TempFolder m_folder;
};

QByteArray rowsOf(int count, const QByteArray& text) {
    QByteArray csv;
    for (int row = 0; row < count; ++row) {
        csv += text + QByteArray::number(row) + ",x\r\n";
    }
    return csv;
}

TEST_F(HostileFiles, TwoAppendsStartedTogetherBothLand) {
    TableRowRecord first;
    first.CellTexts[1] = "first";
    write(QStringLiteral("DATA/s.TBL"), first.encode());
    write(QStringLiteral("a.csv"), rowsOf(300, "a"));
    write(QStringLiteral("b.csv"), rowsOf(300, "b"));
    QProcess one;
    QProcess two;
    test::startPublish(one, withFolder(importing(file(QStringLiteral("a.csv")), true)));
    test::startPublish(two, withFolder(importing(file(QStringLiteral("b.csv")), true)));
    const PublishResult a = test::finishPublish(one);
    const PublishResult b = test::finishPublish(two);
    EXPECT_EQ(a.status, 0) << a.err.toStdString();
    EXPECT_EQ(b.status, 0) << b.err.toStdString();
    const QByteArray stored = read(QStringLiteral("DATA/s.TBL"));
    EXPECT_EQ(stored.size(), 601 * TableRowRecord::Size);
    EXPECT_EQ(stored.left(TableRowRecord::Size), first.encode());
}

} // namespace
} // namespace kelvano
