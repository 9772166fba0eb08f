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

// A CSV file is written only over a plain file the user can write that is none of the program's own;
// "-" is the standard output. Each refused target keeps what it was.
TEST_F(HostileFiles, AnExportRefusesTargetsThatAreNoPlainFileReadOnlyOrTheProgramsOwn) {
    TableRowRecord row;
    row.CellTexts[1] = "a";
    row.CellTexts[2] = "b";
    write(QStringLiteral("DATA/s.TBL"), row.encode());
    write(QStringLiteral("DATA/HEAD.0"), "<html>");
    write(QStringLiteral("locked.csv"), "old");
    ASSERT_TRUE(QFile::setPermissions(file(QStringLiteral("locked.csv")), QFileDevice::ReadOwner));
    ASSERT_EQ(::mkfifo(QFile::encodeName(file(QStringLiteral("device"))).constData(), 0600),
              0); // stands in for /dev/full
    QDir(m_folder.path()).mkpath(QStringLiteral("folder.csv"));
    const auto exporting = [](const QString& target) {
        return QStringList{QStringLiteral("--export-csv"), QStringLiteral("0"), target};
    };
    const QString own = QStringLiteral("Kelvanoが使うファイルです");
    const QList<std::pair<QString, QString>> refused{
        {QStringLiteral("device"), QStringLiteral("通常のファイルではありません（パイプやデバイスなど）")},
        {QStringLiteral("folder.csv"), QStringLiteral("ファイルではなくフォルダです")},
        {QStringLiteral("locked.csv"), QStringLiteral("読み取り専用のファイルです")},
        {QStringLiteral("DATA/s.TBL"), own},
        {QStringLiteral("DATA/S.tbl"), own},
        {QStringLiteral("DATA/s.URL"), own},
        {QStringLiteral("DATA/HEAD.0"), own},
        {QStringLiteral("DATA/foot.dat"), own},
        {QStringLiteral("TABLE.DAT"), own},
        {QStringLiteral("TAVELO.DAT"), own},
        {QStringLiteral("KELVANO.INI"), own},
        {QStringLiteral("HTML/../DATA/s.TBL"), own},
    };
    for (const auto& [name, reason] : refused) {
        const QString target = file(name);
        const QFileInfo before(target);
        const QByteArray contents = before.isFile() ? read(name) : QByteArray();
        const PublishResult result = run(exporting(target));
        EXPECT_EQ(result.status, 1) << name.toStdString();
        EXPECT_EQ(QString::fromUtf8(result.err),
                  QStringLiteral("CSVを書き出しませんでした。次のファイルには書き出せません (%1): %2\n")
                      .arg(reason, target));
        const QFileInfo after(target);
        EXPECT_EQ(after.isFile(), before.isFile()) << name.toStdString();
        EXPECT_EQ(after.exists(), before.exists()) << name.toStdString();
        if (before.isFile()) {
            EXPECT_EQ(read(name), contents) << name.toStdString();
        }
    }
    // A hard link to the table's data file is that file by another name.
    ASSERT_TRUE(::link(QFile::encodeName(file(QStringLiteral("DATA/s.TBL"))).constData(),
                       QFile::encodeName(file(QStringLiteral("alias.csv"))).constData()) == 0);
    EXPECT_EQ(run(exporting(file(QStringLiteral("alias.csv")))).status, 1);
    EXPECT_EQ(read(QStringLiteral("DATA/s.TBL")), row.encode());

    const PublishResult piped = run(exporting(QStringLiteral("-")));
    EXPECT_EQ(piped.status, 0) << piped.err.toStdString();
    EXPECT_EQ(piped.out, "\xEF\xBB\xBF"
                         "a,b\r\n");
    EXPECT_EQ(piped.err, QStringLiteral("1行を書き出しました: -\n").toUtf8());
    const PublishResult written = run(exporting(file(QStringLiteral("new.csv"))));
    EXPECT_EQ(written.status, 0) << written.err.toStdString();
    EXPECT_EQ(read(QStringLiteral("new.csv")), "\xEF\xBB\xBF"
                                               "a,b\r\n");
}

void makeFifo(const QString& path) {
    QFile::remove(path);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
}

// A pipe or a folder where a stored file belongs hangs nothing: each command tells the file and why,
// in Japanese, and leaves it as it was. Each run is given ten seconds.
TEST_F(HostileFiles, PipesAndFoldersInPlaceOfStoredFilesAreToldNotWaitedOn) {
    TableDefinition definition;
    definition.TableName = "s";
    definition.FileName = "s";
    definition.ColumnCount = 2;
    definition.HeaderName = "0:std";
    write(QStringLiteral("TABLE.DAT"), definition.encode());
    write(QStringLiteral("DATA/s.TBL"), TableRowRecord().encode());
    write(QStringLiteral("in.csv"), "a,b\r\n");
    const QString pipe = QStringLiteral("通常のファイルではありません（パイプやデバイスなど）");
    const QString folder = QStringLiteral("ファイルではなくフォルダです");
    const auto expectTold = [&](const QStringList& arguments, const QString& told, int status = 1) {
        QProcess process;
        test::startPublish(process, withFolder(arguments));
        const PublishResult result = test::finishPublish(process, 10000);
        EXPECT_EQ(result.status, status) << arguments.join(u' ').toStdString();
        // --check tells its findings on the standard output, the rest on the standard error.
        EXPECT_TRUE(QString::fromUtf8(result.out + result.err).contains(told))
            << arguments.join(u' ').toStdString() << ": " << result.err.toStdString();
        EXPECT_FALSE(result.err.contains("directory")) << result.err.toStdString();
    };

    makeFifo(file(QStringLiteral("DATA/HEAD.0")));
    expectTold({QStringLiteral("0")}, QStringLiteral("HEAD.0: ") + pipe);
    QFile::remove(file(QStringLiteral("DATA/HEAD.0")));

    makeFifo(file(QStringLiteral("DATA/s.TBL")));
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("0")}, importing(file(QStringLiteral("in.csv")), true),
          importing(file(QStringLiteral("in.csv"))),
          QStringList{QStringLiteral("--export-csv"), QStringLiteral("0"),
                      file(QStringLiteral("out.csv"))}}) {
        expectTold(arguments, pipe);
    }
    expectTold({QStringLiteral("--check"), QStringLiteral("0")}, QStringLiteral("s.TBL: ") + pipe);
    EXPECT_FALSE(QFileInfo(file(QStringLiteral("DATA/s.TBL"))).isFile()) << "the pipe stays a pipe";

    QFile::remove(file(QStringLiteral("DATA/s.TBL")));
    QDir(m_folder.path()).mkpath(QStringLiteral("DATA/s.TBL"));
    expectTold({QStringLiteral("--export-csv"), QStringLiteral("0"), file(QStringLiteral("out.csv"))},
               folder);
    expectTold({QStringLiteral("--check"), QStringLiteral("0")}, QStringLiteral("s.TBL: ") + folder);
    QDir(m_folder.path()).mkpath(QStringLiteral("folder.csv"));
    expectTold(importing(file(QStringLiteral("folder.csv"))), folder);

    makeFifo(file(QStringLiteral("TABLE.DAT")));
    expectTold({QStringLiteral("--list")}, QStringLiteral("TABLE.DAT: ") + pipe);
    expectTold({QStringLiteral("0")}, QStringLiteral("TABLE.DAT: ") + pipe);
    expectTold(importing(file(QStringLiteral("in.csv")), true), QStringLiteral("TABLE.DAT: ") + pipe);
}

} // namespace
} // namespace kelvano
