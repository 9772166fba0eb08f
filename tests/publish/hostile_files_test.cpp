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
    EXPECT_EQ(piped.err, QStringLiteral("テーブル 0「s」: 1行を書き出しました: -\n").toUtf8());
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

QByteArray utf16(const QString& text, QSysInfo::Endian endian) {
    QByteArray bytes;
    for (const QChar c : QChar(QChar::ByteOrderMark) + text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes.append(endian == QSysInfo::LittleEndian ? low : high);
        bytes.append(endian == QSysInfo::LittleEndian ? high : low);
    }
    return bytes;
}

// Text with a byte-order mark of UTF-16 or UTF-32 is read as text; bytes that are no text, lines of
// two encodings, a quote that never closes and an empty file meant to replace the rows are refused,
// and the table keeps its rows.
TEST_F(HostileFiles, ACsvFileIsReadAsTextOrRefusedNeverTakenAsGarbage) {
    TableRowRecord kept;
    kept.CellTexts[1] = "kept";
    const QByteArray stored = kept.encode();
    const QString hyo = QStringLiteral("表");
    QByteArray utf32 = QByteArray::fromHex("0000feff");
    for (const QChar c : hyo + QStringLiteral(",x\n")) {
        utf32 += QByteArray::fromHex(QByteArray::number(c.unicode(), 16).rightJustified(8, '0'));
    }
    for (const QByteArray& text : {utf16(hyo + QStringLiteral(",x\r\n"), QSysInfo::LittleEndian),
                                   utf16(hyo + QStringLiteral(",x\r\n"), QSysInfo::BigEndian), utf32}) {
        write(QStringLiteral("DATA/s.TBL"), stored);
        write(QStringLiteral("in.csv"), text);
        const PublishResult result = run(importing(file(QStringLiteral("in.csv"))));
        EXPECT_EQ(result.status, 0) << result.err.toStdString();
        TableRowRecord row = TableRowRecord::decode(read(QStringLiteral("DATA/s.TBL")));
        EXPECT_EQ(row.CellTexts[1], test::Hyo);
        EXPECT_EQ(row.CellTexts[2], "x");
    }

    const QString refused = QStringLiteral("\nCSVを読み込みませんでした。テーブルデータは変更していません\n");
    const QList<std::pair<QByteArray, QString>> hostile{
        {QByteArray("a,b\r\n\0\0\0", 8),
         QStringLiteral("CSVファイルにNULバイトがあります。テキストファイルではありません")},
        {test::Hyo + ",a\r\n\xE8\xA1\xA8,b\r\n",
         QStringLiteral(
             "CSVファイルの2行目はShift-JISではありません (UTF-8とShift-JISの行が混ざっています)")},
        {"a,b\r\nc,\"d\r\ne,f\r\n",
         QStringLiteral("CSVファイルの2行目で始まる引用符 (\") が閉じられていません")},
        {"a,\"", QStringLiteral("CSVファイルの1行目で始まる引用符 (\") が閉じられていません")},
        {"", QStringLiteral("CSVファイルが空です")},
    };
    for (const auto& [text, told] : hostile) {
        write(QStringLiteral("DATA/s.TBL"), stored);
        write(QStringLiteral("in.csv"), text);
        const PublishResult result = run(importing(file(QStringLiteral("in.csv"))));
        EXPECT_EQ(result.status, 1) << told.toStdString();
        EXPECT_EQ(QString::fromUtf8(result.err), told + refused);
        EXPECT_EQ(read(QStringLiteral("DATA/s.TBL")), stored) << told.toStdString();
    }
    // Appending nothing changes nothing, and is no mistake.
    const PublishResult appended = run(importing(file(QStringLiteral("in.csv")), true));
    EXPECT_EQ(appended.status, 0) << appended.err.toStdString();
    EXPECT_EQ(read(QStringLiteral("DATA/s.TBL")), stored);
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELVANO_TESTS_UNDER_ADDRESS_SANITIZER
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KELVANO_TESTS_UNDER_ADDRESS_SANITIZER
#endif

// What a CSV file holds never decides how much memory reading it takes: a field of 64 MB is cut (and
// told), rows past the row limit are not read, both within an address space of 200 MB. The sanitizer
// tree reserves terabytes of shadow memory at start, so there the bound is left to the Release suite
// and only what is read and told is checked.
TEST_F(HostileFiles, ReadingAHugeFieldOrTooManyRowsStaysWithinABoundedMemory) {
#ifdef KELVANO_TESTS_UNDER_ADDRESS_SANITIZER
    constexpr rlim_t AddressSpace = 0;
#else
    constexpr rlim_t AddressSpace = 200 * 1024 * 1024;
#endif
    write(QStringLiteral("DATA/s.TBL"), TableRowRecord().encode());
    write(QStringLiteral("field.csv"), "a," + QByteArray(64 * 1024 * 1024, 'y') + "\r\n");
    const PublishResult field = run(importing(file(QStringLiteral("field.csv"))), {AddressSpace, 0});
    EXPECT_EQ(field.status, 0) << field.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(field.err).contains(QStringLiteral("切り詰めました: 行1 列2")))
        << field.err.toStdString();
    EXPECT_EQ(TableRowRecord::decode(read(QStringLiteral("DATA/s.TBL"))).CellTexts[2], QByteArray(250, 'y'));
    QFile::remove(file(QStringLiteral("field.csv")));

    write(QStringLiteral("rows.csv"), QByteArray("x,y\n").repeated(70000));
    const PublishResult rows = run(importing(file(QStringLiteral("rows.csv"))), {AddressSpace, 0});
    EXPECT_EQ(rows.status, 1);
    EXPECT_TRUE(QString::fromUtf8(rows.err).startsWith(QStringLiteral("行数が上限の65534行を超えます")))
        << rows.err.toStdString();
}

// Scratch files that killed runs left (a page's in the HTML folder, which gets published, a table's in
// the data folder) go at the next run, which tells how much it removed; other files stay.
TEST_F(HostileFiles, ARunRemovesTheScratchFilesKilledRunsLeftAndTellsHowMuch) {
    write(QStringLiteral("DATA/s.TBL"), TableRowRecord().encode());
    write(QStringLiteral("HTML/s.html.a1b2c3d.tmp"), QByteArray(100, 'x'));
    write(QStringLiteral("HTML/notes.tmp"), "mine");
    write(QStringLiteral("DATA/s.TBL.0000000.tmp"), QByteArray(51306, 'x'));
    const PublishResult result = run({QStringLiteral("0")});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    // Told as the run's other information, on the standard output.
    EXPECT_TRUE(
        QString::fromUtf8(result.out)
            .startsWith(
                QStringLiteral("中断された実行が残した一時ファイルを1個 (100バイト) 削除しました: %1\n"
                               "中断された実行が残した一時ファイルを1個 (51306バイト) 削除しました: %2\n")
                    .arg(file(QStringLiteral("HTML/")), file(QStringLiteral("DATA/")))))
        << result.out.toStdString();
    EXPECT_EQ(QDir(file(QStringLiteral("HTML"))).entryList(QDir::Files),
              QStringList({QStringLiteral("notes.tmp"), QStringLiteral("s.html")}));
    EXPECT_EQ(QDir(file(QStringLiteral("DATA"))).entryList(QDir::Files),
              QStringList{QStringLiteral("s.TBL")});

    write(QStringLiteral("DATA/s.TBL.zzzzzzz.tmp"), "x");
    write(QStringLiteral("in.csv"), "a,b\r\n");
    const PublishResult imported = run(importing(file(QStringLiteral("in.csv"))));
    EXPECT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(imported.err)
                    .startsWith(QStringLiteral("中断された実行が残した一時ファイルを1個 (1バイト)")));
    EXPECT_FALSE(m_folder.exists(QStringLiteral("DATA/s.TBL.zzzzzzz.tmp")));
}

// kelvano-publish says which settings it used when TAVELO.DAT is there but unusable (empty, short, a
// pipe, a folder), and which KELVANO.INI values it does not know; a run on a pipe does not wait.
TEST_F(HostileFiles, SettingsUsedInsteadOfUnusableStoredOnesAreTold) {
    write(QStringLiteral("DATA/s.TBL"), TableRowRecord().encode());
    const QString told =
        QStringLiteral("TAVELO.DAT を使えません（%1）。3つのフォルダはプログラムのフォルダ (%2)、"
                       "サーバー画像パスは空とします\n");
    const QList<std::pair<QByteArray, QString>> shortFiles{
        {QByteArray(), QStringLiteral("0バイトしかありません（1004バイト必要です）")},
        {QByteArray(1003, '\0'), QStringLiteral("1003バイトしかありません（1004バイト必要です）")}};
    for (const auto& [contents, reason] : shortFiles) {
        write(QStringLiteral("TAVELO.DAT"), contents);
        const PublishResult result = run({QStringLiteral("--list")});
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(QString::fromUtf8(result.err), told.arg(reason, m_folder.path()));
    }
    makeFifo(file(QStringLiteral("TAVELO.DAT")));
    PublishResult result = run({QStringLiteral("--list")});
    EXPECT_EQ(
        QString::fromUtf8(result.err),
        told.arg(QStringLiteral("通常のファイルではありません（パイプやデバイスなど）"), m_folder.path()));
    QFile::remove(file(QStringLiteral("TAVELO.DAT")));
    QDir(m_folder.path()).mkdir(QStringLiteral("TAVELO.DAT"));
    result = run({QStringLiteral("--list")});
    EXPECT_EQ(QString::fromUtf8(result.err),
              told.arg(QStringLiteral("ファイルではなくフォルダです"), m_folder.path()));
    QDir(m_folder.path()).rmdir(QStringLiteral("TAVELO.DAT"));

    result = run({QStringLiteral("--list")});
    EXPECT_EQ(result.err, "") << "no TAVELO.DAT is a first run, as documented";
    write(QStringLiteral("KELVANO.INI"), "[Pages]\nEncoding=EBCDIC\nMarkup=html5\n");
    result = run({QStringLiteral("--check"), QStringLiteral("0")});
    EXPECT_TRUE(QString::fromUtf8(result.err)
                    .startsWith(QStringLiteral(
                        "KELVANO.INI の Pages/Encoding=EBCDIC は使えない値です。Shift_JIS とします\n")))
        << result.err.toStdString();
    EXPECT_FALSE(result.err.contains("Markup")) << "a known value in another case is no unknown one";
}

} // namespace
} // namespace kelvano
