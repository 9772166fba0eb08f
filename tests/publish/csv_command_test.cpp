#include "core/store/settings_record.h"
#include "core/store/table_definition.h"
#include "core/store/table_definition_file.h"
#include "core/store/table_lock.h"
#include "core/store/table_row_record.h"
#include "core/table/table_layers.h"
#include "publish_runner.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::sjis;

using Result = test::PublishResult;

/// kelvano-publish's CSV commands on a program folder holding one 3-column table "t" (number 0).
class PublishCsv : public testing::Test {
protected:
    PublishCsv() { test::writeOneTableFolder(m_folder, 3); }

    Result run(QStringList arguments) const {
        arguments.prepend(m_folder.path());
        arguments.prepend(QStringLiteral("--program-folder"));
        QProcess process;
        test::startPublish(process, arguments);
        return test::finishPublish(process);
    }

    QString file(const char* name) const { return m_folder.file(QString::fromLatin1(name)); }

    test::TempFolder m_folder;
};

TEST_F(PublishCsv, EachLineAboutTheRowsNamesTheTableByItsNumberAndTitle) {
    // The second table's title is no file name and its number no 0.
    TableDefinition prices;
    prices.TableName = "\x89\xBF\x8A\x69\x95\x5C"; // 価格表
    prices.FileName = "p";
    prices.ColumnCount = 1;
    ASSERT_EQ(TableDefinitionFile(m_folder.path()).append(prices), 1);
    TableRowRecord row;
    row.CellTexts[1] = "a";
    m_folder.write(QStringLiteral("p.TBL"), row.encode());

    const Result exported = run({QStringLiteral("--export-csv"), QStringLiteral("1"), file("out.csv")});
    EXPECT_EQ(
        exported.out,
        QStringLiteral("テーブル 1「価格表」: 1行を書き出しました: %1\n").arg(file("out.csv")).toUtf8());
    m_folder.write(QStringLiteral("in.csv"), "x,y\r\n");
    const Result imported = run({QStringLiteral("--import-csv"), QStringLiteral("1"), file("in.csv")});
    EXPECT_EQ(
        imported.err,
        QStringLiteral("テーブル 1「価格表」: テーブルの列数 (1) を超える1個の値は読み込みませんでした\n")
            .toUtf8());
    EXPECT_EQ(imported.out,
              QStringLiteral("テーブル 1「価格表」: 1行を読み込みました: %1\n").arg(file("p.TBL")).toUtf8());
}

TEST_F(PublishCsv, ExportWritesEveryRowInEitherEncoding) {
    TableRowRecord first;
    first.CellTexts[1] = "a,b";
    first.CellTexts[2] = "say \"hi\"";
    first.CellTexts[3] = test::Hyo;
    first.CellTexts[4] = "beyond the columns";
    first.CellPictures[1] = "p.jpg";
    TableRowRecord second; // an empty row is a record too
    TableRowRecord third;
    third.CellTexts[1] = "two\r\nlines";
    m_folder.write(QStringLiteral("t.TBL"), first.encode() + second.encode() + third.encode());

    const Result utf8 = run({QStringLiteral("--export-csv"), QStringLiteral("0"), file("out.csv")});
    EXPECT_EQ(utf8.status, 0) << utf8.err.toStdString();
    EXPECT_EQ(m_folder.read(QStringLiteral("out.csv")),
              "\xEF\xBB\xBF\"a,b\",\"say \"\"hi\"\"\",\xE8\xA1\xA8\r\n,,\r\n\"two\r\nlines\",,\r\n");
    EXPECT_EQ(utf8.out,
              QStringLiteral("テーブル 0「t」: 3行を書き出しました: %1\n").arg(file("out.csv")).toUtf8());

    const Result sjisOut = run({QStringLiteral("--export-csv"), QStringLiteral("0"), file("sjis.csv"),
                                QStringLiteral("--csv-encoding"), QStringLiteral("Shift_JIS")});
    EXPECT_EQ(sjisOut.status, 0);
    EXPECT_EQ(m_folder.read(QStringLiteral("sjis.csv")),
              "\"a,b\",\"say \"\"hi\"\"\"," + test::Hyo + "\r\n,,\r\n\"two\r\nlines\",,\r\n");

    // Rows enough to be read ahead, where only the texts of the table's columns are read.
    m_folder.write(QStringLiteral("t.TBL"), (first.encode() + second.encode() + third.encode()).repeated(11));
    ASSERT_EQ(run({QStringLiteral("--export-csv"), QStringLiteral("0"), file("many.csv")}).status, 0);
    EXPECT_EQ(m_folder.read(QStringLiteral("many.csv")),
              "\xEF\xBB\xBF" + m_folder.read(QStringLiteral("out.csv")).mid(3).repeated(11));

    // Usage errors exit with 2 and write nothing.
    for (const QStringList& arguments : QList<QStringList>{
             {QStringLiteral("--export-csv"), QStringLiteral("0")},
             {QStringLiteral("--export-csv"), QStringLiteral("0"), file("x.csv"),
              QStringLiteral("--csv-encoding"), QStringLiteral("latin1")},
             {QStringLiteral("--export-csv"), QStringLiteral("0"), file("x.csv"), QStringLiteral("--append")},
             {QStringLiteral("--export-csv"), QStringLiteral("--import-csv"), QStringLiteral("0"),
              file("x.csv")},
             {QStringLiteral("--import-csv"), QStringLiteral("1"), file("x.csv")},
             {QStringLiteral("--export-csv"), QStringLiteral("0"), file("x.csv"), QStringLiteral("--all")}}) {
        EXPECT_EQ(run(arguments).status, 2) << arguments.join(u' ').toStdString();
    }
    EXPECT_FALSE(m_folder.exists(QStringLiteral("x.csv")));
    // Both directions at once are told as such, before the usage.
    const Result both = run(
        {QStringLiteral("--import-csv"), QStringLiteral("0"), file("x.csv"), QStringLiteral("--export-csv")});
    EXPECT_TRUE(QString::fromUtf8(both.err).startsWith(
        QStringLiteral("kelvano-publish: --export-csv と --import-csv は同時に指定できません\n")))
        << both.err.toStdString();
}

TEST_F(PublishCsv, ImportReplacesOrAppendsAndRefusesWhatShiftJisCannotHold) {
    TableRowRecord kept;
    kept.CellTexts[1] = "old";
    kept.CellTexts[2] = QByteArray(3, 'z');
    kept.CellBackgrounds[2] = "bg.gif";
    QByteArray existing = kept.encode();
    existing[2 + 251] = 'q'; // a byte past a text's end, which the editor would write as zero
    m_folder.write(QStringLiteral("t.TBL"), existing + QByteArray(10, '\x7F')); // and a torn tail

    // Semicolons, Shift-JIS, a quoted line break; a fourth field dropped; a text over 250 bytes cut.
    m_folder.write(QStringLiteral("in.csv"),
                   test::Hyo + ";\"x\ny\";c;drop\r\n" + QByteArray(251, 'w') + "\r\n");
    const Result appended = run(
        {QStringLiteral("--import-csv"), QStringLiteral("0"), file("in.csv"), QStringLiteral("--append")});
    EXPECT_EQ(appended.status, 0) << appended.err.toStdString();
    EXPECT_EQ(appended.err,
              QStringLiteral(
                  "テーブル 0「t」: テーブルの列数 (3) を超える1個の値は読み込みませんでした\n"
                  "テーブル 0「t」: 次のセルの文字列は250バイトを超えるため、文字の切れ目で切り詰めました: "
                  "行3 列1\n")
                  .toUtf8());
    TableLayers expected(3);
    TableRow row(3);
    row[0].text = test::Hyo;
    row[1].text = "x\ny";
    row[2].text = "c";
    expected.appendRow(row);
    row = TableRow(3);
    row[0].text = QByteArray(250, 'w');
    expected.appendRow(row);
    const QByteArray newRows = expected.record(1).encode() + expected.record(2).encode();
    EXPECT_EQ(m_folder.read(QStringLiteral("t.TBL")), existing + newRows);

    // Replacing: UTF-8 with a byte-order mark, tabs.
    m_folder.write(QStringLiteral("in.tsv"), "\xEF\xBB\xBF\xE8\xA1\xA8\tx\ny\tc\n");
    const Result replaced = run({QStringLiteral("--import-csv"), QStringLiteral("0"), file("in.tsv")});
    EXPECT_EQ(replaced.status, 0) << replaced.err.toStdString();
    row = TableRow(3);
    row[0].text = test::Hyo;
    row[1].text = "x";
    TableRow second(3);
    second[0].text = "y";
    second[1].text = "c";
    TableLayers replacedRows(3);
    replacedRows.appendRow(row);
    replacedRows.appendRow(second);
    EXPECT_EQ(m_folder.read(QStringLiteral("t.TBL")),
              replacedRows.record(1).encode() + replacedRows.record(2).encode());

    // A character Shift-JIS cannot hold fails the whole import and leaves the file as it was.
    const QByteArray before = m_folder.read(QStringLiteral("t.TBL"));
    m_folder.write(QStringLiteral("bad.csv"), "ok,\xF0\x9F\x98\x80\r\n");
    const Result refused = run({QStringLiteral("--import-csv"), QStringLiteral("0"), file("bad.csv")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              QStringLiteral("次のセルには Shift-JIS で保存出来ない文字 (😀) があります: 行1 列2\n"
                             "CSVを読み込みませんでした。テーブルデータは変更していません\n")
                  .toUtf8());
    EXPECT_EQ(m_folder.read(QStringLiteral("t.TBL")), before);
    EXPECT_EQ(run({QStringLiteral("--import-csv"), QStringLiteral("0"), file("missing.csv")}).status, 1);
}

TEST_F(PublishCsv, AnImportIsRefusedWhileTheTableIsOpenInTheEditor) {
    const QByteArray stored = TableRowRecord().encode();
    m_folder.write(QStringLiteral("t.TBL"), stored);
    m_folder.write(QStringLiteral("in.csv"), "new\r\n");
    const QStringList import{QStringLiteral("--import-csv"), QStringLiteral("0"), file("in.csv")};
    {
        // The window program's editor holds the table (as a second process would).
        TableLock editor(TableDataFiles(m_folder.path(), QStringLiteral("t")));
        ASSERT_EQ(editor.take(), TableLock::Taking::Taken);
        const Result refused = run(import);
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.err, QStringLiteral("テーブル 0「t」はKelvanoのテーブルデータ入力か別の読み込みが"
                                              "使用中です。終わってからもう一度実行してください\n"
                                              "CSVを読み込みませんでした。テーブルデータは変更していません\n")
                                   .toUtf8());
        EXPECT_EQ(m_folder.read(QStringLiteral("t.TBL")), stored);
        EXPECT_EQ(run({QStringLiteral("0")}).status, 0) << "a page run only reads, and is never refused";
    }
    const Result imported = run(import);
    EXPECT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_EQ(m_folder.read(QStringLiteral("t.TBL")).mid(252, 3), QByteArray("new"));
    EXPECT_FALSE(m_folder.exists(QStringLiteral("t.LCK"))) << "the import's own lock is gone with it";
}

TEST_F(PublishCsv, AppendingReplacesOnlyAnEmptyOnlyRowAndStopsAtTheRowLimit) {
    const QStringList append{QStringLiteral("--import-csv"), QStringLiteral("0"), file("in.csv"),
                             QStringLiteral("--append")};
    m_folder.write(QStringLiteral("in.csv"), QByteArray(251, 'w') + "\r\n");
    TableLayers expected(3);
    TableRow row(3);
    row[0].text = QByteArray(250, 'w');
    expected.appendRow(row);
    const QByteArray imported = expected.record(1).encode();

    // The one empty row as the editor stores it (its placement bytes set) gives way; the cut cell is
    // named where it lands.
    m_folder.write(QStringLiteral("t.TBL"), TableLayers(3).record(0).encode());
    Result result = run(append);
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.err,
              QStringLiteral(
                  "テーブル 0「t」: 次のセルの文字列は250バイトを超えるため、文字の切れ目で切り詰めました: "
                  "行1 列1\n")
                  .toUtf8());
    EXPECT_EQ(m_folder.read(QStringLiteral("t.TBL")), imported);

    // A row holding only a picture, or only a text in a column past the count, is no empty row; nor
    // are two empty rows the table's only one.
    TableRowRecord picture;
    picture.CellPictures[2] = "p.jpg";
    TableRowRecord hidden;
    hidden.CellTexts[4] = "hidden";
    for (const QByteArray& existing :
         {picture.encode(), hidden.encode(), TableRowRecord().encode() + TableRowRecord().encode()}) {
        m_folder.write(QStringLiteral("t.TBL"), existing);
        result = run(append);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(m_folder.read(QStringLiteral("t.TBL")), existing + imported);
    }

    // A table at the row limit takes no row more; replacing its rows still works.
    {
        QFile full(m_folder.file(QStringLiteral("t.TBL")));
        ASSERT_TRUE(full.resize(TableLayers::MaxRows * TableRowRecord::Size)); // sparse, mostly
    }
    result = run(append);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, QStringLiteral("行数が上限の65534行を超えます\n"
                                         "CSVを読み込みませんでした。テーブルデータは変更していません\n")
                              .toUtf8());
    EXPECT_EQ(QFileInfo(m_folder.file(QStringLiteral("t.TBL"))).size(),
              TableLayers::MaxRows * TableRowRecord::Size);
    result = run({QStringLiteral("--import-csv"), QStringLiteral("0"), file("in.csv")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(m_folder.read(QStringLiteral("t.TBL")), imported);
}

// An import that brings a table to exactly its row limit is taken; one row more is refused. The table
// holds one row with a text (a single empty row would give way) and the CSV file the rest; a taken
// import fails only at writing, past a file-size limit, so that nothing large is written.
TEST_F(PublishCsv, AnImportReachingTheRowLimitIsTakenOneRowMoreIsRefused) {
    TableRowRecord row;
    row.CellTexts[1] = "kept";
    const QByteArray stored = row.encode();
    m_folder.write(QStringLiteral("t.TBL"), stored);
    for (const int lines : {TableLayers::MaxRows - 1, TableLayers::MaxRows}) {
        m_folder.write(QStringLiteral("in.csv"), QByteArray("x\n").repeated(lines));
        Result result;
        {
            const test::FileSizeLimit limit(1024 * 1024);
            result = run({QStringLiteral("--import-csv"), QStringLiteral("0"), file("in.csv"),
                          QStringLiteral("--append")});
        }
        const QString err = QString::fromUtf8(result.err);
        const bool refused = err.contains(QStringLiteral("行数が上限の65534行を超えます"));
        EXPECT_EQ(refused, lines == TableLayers::MaxRows) << lines << err.toStdString();
        // Taken, it got as far as writing the table's file.
        EXPECT_EQ(err.contains(QStringLiteral("t.TBL")), !refused) << err.toStdString();
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(m_folder.read(QStringLiteral("t.TBL")), stored);
    }
}

} // namespace
} // namespace kelvano
