#include "core/html/clock.h"
#include "core/html/page_generator.h"
#include "core/html/table_markup.h"
#include "core/store/shift_jis.h"
#include "core/store/table_data_files.h"
#include "core/store/table_definition_file.h"
#include "core/store/table_row_record.h"
#include "stored_rows.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "words/page_words.h"

#include <QDir>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::sjis;

QByteArray recordsOf(const QList<TableRowRecord>& rows) {
    QByteArray bytes;
    for (const TableRowRecord& row : rows) {
        bytes += row.encode();
    }
    return bytes;
}

struct RecordingReport : PageReport {
    void report(const PageMessage& message) override { messages.append(message); }

    /// Each message as "kind:text", for comparing whole sequences.
    QStringList lines() const {
        QStringList out;
        for (const PageMessage& m : messages) {
            const char* kind = m.kind() == PageMessageKind::Error         ? "error"
                               : m.kind() == PageMessageKind::Information ? "info"
                                                                          : "io";
            out.append(QLatin1String(kind) + QLatin1Char(':') +
                       (m.kind() == PageMessageKind::IoError ? QString() : Messages::pageMessageText(m)));
        }
        return out;
    }

    QList<PageMessage> messages;
};

QString finished() {
    return QStringLiteral("info:") + Messages::PagesFinished;
}
QString headerMissing() {
    return QStringLiteral("error:") + Messages::HeaderMissing;
}
QString footerMissing() {
    return QStringLiteral("error:") + Messages::FooterMissing;
}
const QString IoFailure = QStringLiteral("io:");

/// A program folder that is also the data folder, with the pages going to its html/ subfolder.
class Pages : public testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(m_folder.file(QStringLiteral("html")));
        m_settings = {sjis(m_folder.path()), sjis(m_folder.path() + QStringLiteral("html/")), {}, "grph/"};
        Clock::setFixedNow(QDateTime(QDate(1997, 6, 1), QTime(9, 5, 7)));
    }
    void TearDown() override { Clock::setFixedNow({}); }

    int addDefinition(const TableDefinition& definition) const {
        return TableDefinitionFile(m_folder.path()).append(definition);
    }
    static TableDefinition named(const QByteArray& fileName, const QByteArray& header = "0:top",
                                 const QByteArray& footer = "0:end") {
        TableDefinition d;
        d.TableName = fileName;
        d.FileName = fileName;
        d.HeaderName = header;
        d.FooterName = footer;
        return d;
    }
    PageRunOutcome run(const QList<int>& numbers, const PageRunOptions& options = {}) {
        return GeneratePages(m_settings, m_folder.path(), numbers, m_report,
                             QLocale(QLocale::Japanese, QLocale::Japan), options);
    }
    QByteArray page(const QString& name) const { return m_folder.read(QStringLiteral("html/") + name); }
    QStringList pageFiles() const {
        return QDir(m_folder.file(QStringLiteral("html"))).entryList(QDir::Files);
    }

    test::TempFolder m_folder;
    SettingsRecord m_settings;
    RecordingReport m_report;
};

TEST_F(Pages, WorkedExampleComesOutByteForByte) {
    m_folder.write(QStringLiteral("HEAD.0"), "<HTML><BODY>\r\n<P>Updated <GETNOWDATE></P>\r\n");
    m_folder.write(QStringLiteral("FOOT.1"), "</BODY></HTML>\r\n");
    TableDefinition d = named("price", "0:top", "1:end");
    d.TableWidth = "80%";
    d.BorderColour = "000080";
    d.CaptionText = "Price list";
    d.CaptionOnTop = false;
    d.ColumnCount = 2;
    d.ColumnBackColours[1] = 0x00FFFF;
    d.ColumnTextColours[1] = 0x0000FF;
    d.ColumnAlignments[1] = 5;
    d.ColumnFontSizes[1] = 1;
    addDefinition(d);

    TableRowRecord apple;
    apple.CellTexts[1] = "Apple";
    apple.CellPictures[1] = "C:\\pics\\apple.jpg";
    apple.PictureOnRight[1] = 1;
    apple.CellTexts[2] = "100";
    TableRowRecord order;
    order.CellTexts[2] = "200";
    order.CellLinks[2] = "order.html";
    m_folder.write(QStringLiteral("price.TBL"), recordsOf({apple, order})); // the editor's spelling

    EXPECT_EQ(run({0}), PageRunOutcome::Finished);
    EXPECT_EQ(m_report.lines(), QStringList{finished()});
    EXPECT_EQ(
        page(QStringLiteral("price.html")),
        "<HTML><BODY>\r\n"
        "<P>Updated 1997/06/01</P>\r\n"
        "<TABLE BORDER=\"1\" WIDTH=\"80%\" BORDERCOLOR=\"#000080\" CELLSPACING=\"2\" CELLPADDING=\"1\">\r\n"
        "<CAPTION ALIGN=\"BOTTOM\">Price list</CAPTION>\r\n"
        "<TR><TD BGCOLOR=\"#FFFFFF\" VALIGN=\"TOP\"><FONT COLOR=\"#000000\">Apple<IMG "
        "SRC=\"grph/apple.jpg\"></FONT></TD><TD BGCOLOR=\"#FFFF00\" ALIGN=\"RIGHT\" VALIGN=\"CENTER\"><FONT "
        "COLOR=\"#FF0000\" SIZE=\"+1\">100</FONT></TD></TR>\r\n"
        "<TR><TD BGCOLOR=\"#FFFFFF\" VALIGN=\"TOP\"><FONT COLOR=\"#000000\"><BR></FONT></TD><TD "
        "BGCOLOR=\"#FFFF00\" ALIGN=\"RIGHT\" VALIGN=\"CENTER\"><FONT COLOR=\"#FF0000\" SIZE=\"+1\"><A "
        "HREF=\"order.html\">200</A></FONT></TD></TR>\r\n"
        "</TABLE>\r\n"
        "</BODY></HTML>\r\n");
}

TEST_F(Pages, ANarrowTableOfManyRowsGetsEveryLayerOfItsColumnsAndNoOther) {
    m_folder.write(QStringLiteral("HEAD.0"), {});
    m_folder.write(QStringLiteral("FOOT.0"), {});
    TableDefinition d = named("n");
    d.ColumnCount = 2;
    d.CsvBeside = true;
    addDefinition(d);
    // Rows enough to be read ahead, every layer of columns 1 to 3 filled (3 lies beyond the table).
    QList<TableRowRecord> rows;
    for (int i = 0; i < 2 * TableRowReader::RecordsPerBlock + 1; ++i) {
        TableRowRecord row;
        for (std::size_t c = 1; c <= 3; ++c) {
            const QByteArray id = QByteArray::number(i) + '-' + QByteArray::number(c);
            row.CellTexts[c] = "t" + id;
            row.CellPictures[c] = "p" + id + ".gif";
            row.CellBackgrounds[c] = "b" + id + ".gif";
            row.CellLinks[c] = "l" + id + ".html";
            row.PictureOnRight[c] = static_cast<quint8>((i + c) % 2);
        }
        rows.append(row);
    }
    m_folder.write(QStringLiteral("n.TBL"), recordsOf(rows));

    EXPECT_EQ(run({0}), PageRunOutcome::Finished);
    // The rows as written from each whole record.
    TableMarkup table(d, m_settings.ServerImagePath);
    QByteArray expected;
    QByteArray csv = "\xEF\xBB\xBF";
    for (const TableRowRecord& row : rows) {
        expected += test::rowOf(table, row) + "\r\n";
        csv += row.CellTexts[1] + ',' + row.CellTexts[2] + "\r\n";
    }
    const QByteArray written = page(QStringLiteral("n.html"));
    EXPECT_TRUE(written.contains(expected)) << written.toStdString();
    EXPECT_FALSE(written.contains("-3"));
    EXPECT_EQ(page(QStringLiteral("n.csv")), csv);
}

TEST_F(Pages, NothingToWriteOnlyFinishes) {
    EXPECT_EQ(run({}), PageRunOutcome::Finished);
    EXPECT_EQ(m_report.lines(), QStringList{finished()});
    EXPECT_TRUE(pageFiles().isEmpty());
    EXPECT_FALSE(m_folder.exists(QStringLiteral("TABLE.DAT")));
}

TEST_F(Pages, MissingTableFileEndsTheRunWithoutCompletion) {
    EXPECT_EQ(run({0, 1}), PageRunOutcome::EndedEarly);
    EXPECT_EQ(m_report.lines(), QStringList{QStringLiteral("error:") + Messages::NoData});
    EXPECT_TRUE(pageFiles().isEmpty());

    // A definition that is not there part-way is told in its place, and the run goes on.
    m_report.messages.clear();
    m_folder.write(QStringLiteral("HEAD.0"), {});
    m_folder.write(QStringLiteral("FOOT.0"), {});
    for (const char* name : {"a", "b"}) {
        addDefinition(named(name));
        m_folder.write(QString::fromLatin1(name) + QStringLiteral(".TBL"), {});
    }
    EXPECT_EQ(run({0, 7, 1}), PageRunOutcome::SomeFailed);
    EXPECT_EQ(m_report.lines(), (QStringList{IoFailure, QStringLiteral("error:") +
                                                            Messages::PagesPartlyWritten.arg(2).arg(1)}));
    EXPECT_TRUE(Messages::pageMessageText(m_report.messages.first())
                    .startsWith(Messages::DefinitionUnreadable.arg(7)));
    EXPECT_EQ(pageFiles(), (QStringList{QStringLiteral("a.html"), QStringLiteral("b.html")}));
}

TEST_F(Pages, SnippetsAreFoundByTheirNumberOrReportedMissing) {
    m_folder.write(QStringLiteral("HEAD.12"), "<p>12 <getnowday></p>\r\nsecond\n");
    m_folder.write(QStringLiteral("FOOT.0"), "<p>made <getnowdate></p>\r\n");
    m_folder.write(QStringLiteral("empty.TBL"), {});
    TableDefinition headed = named("headed", "12:Top", "0:end");
    headed.CaptionText = "c";
    addDefinition(headed);
    addDefinition(named("noheader", "", "0:end"));
    addDefinition(named("nocolon", "12", "3:gone"));
    addDefinition(named("badnumber", "x:y", "-1:z"));
    for (const char* name : {"noheader", "nocolon", "badnumber"}) {
        m_folder.write(QString::fromLatin1(name) + QStringLiteral(".tbl"), {});
    }
    m_folder.write(QStringLiteral("headed.tbl"), {});

    EXPECT_EQ(run({0, 1, 2, 3}), PageRunOutcome::Finished);
    EXPECT_EQ(m_report.lines(), (QStringList{headerMissing(), headerMissing(), footerMissing(),
                                             headerMissing(), footerMissing(), finished()}));
    // Header lines are expanded and keep their case, footer lines are copied unchanged; every line ends
    // in CR LF.
    EXPECT_EQ(page(QStringLiteral("headed.html")),
              "<p>12 " + sjis(QStringLiteral("日曜日")) +
                  "</p>\r\nsecond\r\n"
                  "<TABLE BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"1\">\r\n"
                  "<CAPTION>c</CAPTION>\r\n</TABLE>\r\n"
                  "<p>made <getnowdate></p>\r\n");
    EXPECT_EQ(page(QStringLiteral("noheader.html")),
              "<TABLE BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"1\">\r\n"
              "</TABLE>\r\n<p>made <getnowdate></p>\r\n");
    EXPECT_EQ(page(QStringLiteral("badnumber.html")),
              "<TABLE BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"1\">\r\n</TABLE>\r\n");
}

TEST_F(Pages, TheSnippetNumberNamesItsBodyFileAsWritten) {
    m_folder.write(QStringLiteral("HEAD.12"), "twelve\r\n");
    m_folder.write(QStringLiteral("HEAD.012"), "zero twelve\r\n");
    m_folder.write(QStringLiteral("FOOT.0"), {});
    m_folder.write(QStringLiteral("lead.tbl"), {});
    addDefinition(named("lead", "012:Top", "0:end"));
    EXPECT_EQ(run({0}), PageRunOutcome::Finished);
    EXPECT_TRUE(page(QStringLiteral("lead.html")).startsWith("zero twelve\r\n"));
}

TEST_F(Pages, NamesInShiftJisAndSharedNamesReachTheirFiles) {
    const QByteArray price = sjis(QStringLiteral("価格表"));
    m_folder.write(QStringLiteral("HEAD.0"), {});
    m_folder.write(QStringLiteral("FOOT.0"), "first\r\n");
    m_folder.write(QStringLiteral("FOOT.1"), "second\r\n");
    TableRowRecord row;
    row.CellTexts[1] = test::So;
    m_folder.write(QStringLiteral("価格表.TBL"), recordsOf({row}));
    addDefinition(named(price, "0:a", "0:first"));
    addDefinition(named(price, "0:a", "1:second"));

    EXPECT_EQ(run({0, 1}), PageRunOutcome::Finished);
    EXPECT_EQ(m_report.lines(), QStringList{finished()});
    EXPECT_EQ(pageFiles(), QStringList{QStringLiteral("価格表.html")});
    const QByteArray written = page(QStringLiteral("価格表.html"));
    EXPECT_TRUE(written.contains(test::So + "</FONT>"));
    EXPECT_TRUE(written.endsWith("</TABLE>\r\nsecond\r\n"));
}

TEST_F(Pages, ABrokenTableIsReportedAndTheRunGoesOnWithTheNext) {
    m_folder.write(QStringLiteral("HEAD.0"), "h\r\n");
    m_folder.write(QStringLiteral("FOOT.0"), "f\r\n");
    m_folder.write(QStringLiteral("one.TBL"), {});
    m_folder.write(QStringLiteral("three.TBL"), {});
    m_folder.write(QStringLiteral("html/two.html"), "old page");
    addDefinition(named("one"));
    addDefinition(named("two"));
    addDefinition(named("three"));

    // The second table has no data file yet: the user is told which and how to fix it.
    EXPECT_EQ(run({0, 1, 2}), PageRunOutcome::SomeFailed);
    ASSERT_EQ(m_report.messages.size(), 2);
    const PageMessage& missing = m_report.messages.first();
    EXPECT_EQ(missing.kind(), PageMessageKind::Error);
    EXPECT_TRUE(Messages::pageMessageText(missing).startsWith(
        QStringLiteral("テーブル 1「two」のデータファイルがまだありません")));
    EXPECT_TRUE(Messages::pageMessageText(missing).endsWith(m_folder.file(QStringLiteral("two.TBL"))));
    EXPECT_EQ(Messages::pageMessageText(m_report.messages.last()),
              QStringLiteral("2件のページを作成しました（1件は作成出来ませんでした）"));
    EXPECT_EQ(page(QStringLiteral("two.html")), "old page");
    EXPECT_TRUE(page(QStringLiteral("one.html")).startsWith("h\r\n<TABLE"));
    EXPECT_TRUE(page(QStringLiteral("three.html")).startsWith("h\r\n<TABLE"));

    // A data file that is there but cannot be read is an I/O error naming the table, file and reason.
    m_report.messages.clear();
    QDir(m_folder.path()).mkdir(QStringLiteral("two.TBL"));
    EXPECT_EQ(run({1, 2}), PageRunOutcome::SomeFailed);
    ASSERT_EQ(m_report.lines().first(), IoFailure);
    const PageMessage& failure = m_report.messages.first();
    ASSERT_TRUE(failure.ioError.has_value());
    EXPECT_TRUE(failure.ioError->path().endsWith(QStringLiteral("two.TBL")));
    EXPECT_EQ(Messages::pageMessageText(failure),
              QStringLiteral("テーブル 1「two」のページを作成出来ませんでした\n") +
                  failure.ioError->message());
}

TEST_F(Pages, FailedWriteKeepsThePreviousPage) {
    m_folder.write(QStringLiteral("HEAD.0"), {});
    m_folder.write(QStringLiteral("FOOT.0"), {});
    TableRowRecord row;
    row.CellTexts[1] = QByteArray(250, 'x');
    m_folder.write(QStringLiteral("big.TBL"), recordsOf({row, row, row, row, row, row, row, row}));
    m_folder.write(QStringLiteral("html/big.html"), "old page");
    addDefinition(named("big"));
    {
        const test::FileSizeLimit limit(1000);
        EXPECT_EQ(run({0}), PageRunOutcome::SomeFailed);
    }
    EXPECT_EQ(m_report.lines().first(), IoFailure);
    EXPECT_EQ(m_report.messages.first().ioError->errorNumber(), EFBIG);
    EXPECT_EQ(page(QStringLiteral("big.html")), "old page");
    EXPECT_EQ(pageFiles(), QStringList{QStringLiteral("big.html")}); // no temporary file is left

    m_report.messages.clear();
    EXPECT_EQ(run({0}), PageRunOutcome::Finished);
    EXPECT_EQ(page(QStringLiteral("big.html")).count("<TR>"), 8);
}

// A FileName from a TABLE.DAT made elsewhere must not lead a page or a data file out of its folder.
TEST_F(Pages, StoredNamesThatLeaveTheirFoldersAreReportedAndTheRunGoesOn) {
    QDir().mkpath(m_folder.file(QStringLiteral("data")));
    m_settings.DataFolder = sjis(m_folder.path() + QStringLiteral("data/"));
    for (const char* name : {"data/HEAD.0", "data/FOOT.0", "data/t.TBL", "data/ok.TBL"}) {
        m_folder.write(QString::fromLatin1(name), {});
    }
    TableDefinition escaping = named("../data/t");
    escaping.TableName = sjis(QStringLiteral("外へ"));
    addDefinition(escaping);
    addDefinition(named(".."));
    addDefinition(named("ok"));

    EXPECT_EQ(run({0, 1, 2}), PageRunOutcome::SomeFailed);
    EXPECT_EQ(m_report.lines(),
              (QStringList{QStringLiteral("error:ファイル名に使用出来ない文字が含まれています：0 外へ"),
                           QStringLiteral("error:ファイル名に使用出来ない文字が含まれています：1 .."),
                           QStringLiteral("error:1件のページを作成しました（2件は作成出来ませんでした）")}));
    EXPECT_EQ(pageFiles(), QStringList{QStringLiteral("ok.html")});
    EXPECT_FALSE(m_folder.exists(QStringLiteral("data/t.html")));
    EXPECT_FALSE(m_folder.exists(QStringLiteral(".html")));
}

TEST_F(Pages, MissingHtmlFolderIsAnIoError) {
    m_settings.HtmlFolder = sjis(m_folder.path() + QStringLiteral("nowhere/"));
    m_folder.write(QStringLiteral("t.TBL"), {});
    addDefinition(named("t"));
    EXPECT_EQ(run({0}), PageRunOutcome::SomeFailed);
    EXPECT_EQ(m_report.lines(),
              (QStringList{IoFailure,
                           QStringLiteral("error:0件のページを作成しました（1件は作成出来ませんでした）")}));
}

TEST_F(Pages, DamagedFilesGiveTheirWholeRecordsOnly) {
    m_folder.write(QStringLiteral("HEAD.0"), {});
    m_folder.write(QStringLiteral("FOOT.0"), {});
    addDefinition(named("t"));
    m_folder.write(QStringLiteral("TABLE.DAT"),
                   m_folder.read(QStringLiteral("TABLE.DAT")) + QByteArray(700, 'x'));
    TableRowRecord row;
    row.CellTexts[1] = "whole";
    m_folder.write(QStringLiteral("t.TBL"), recordsOf({row}) + QByteArray(51305, '\x07'));

    EXPECT_EQ(run({0}), PageRunOutcome::Finished);
    EXPECT_EQ(page(QStringLiteral("t.html")).count("<TR>"), 1);

    // The incomplete second record of TABLE.DAT cannot be read: that table is an I/O error, the next
    // one is still written.
    m_report.messages.clear();
    QFile::remove(m_folder.file(QStringLiteral("html/t.html")));
    EXPECT_EQ(run({1, 0}), PageRunOutcome::SomeFailed);
    EXPECT_EQ(m_report.lines().first(), IoFailure);
    EXPECT_TRUE(Messages::pageMessageText(m_report.messages.first())
                    .startsWith(QStringLiteral("テーブル定義 1 を読み込めませんでした")));
    EXPECT_TRUE(m_folder.exists(QStringLiteral("html/t.html")));
}

TEST_F(Pages, Utf8PagesRecodeEveryByteAndNameTheirCharsetInHeaderAndFooterOnly) {
    m_folder.write(QStringLiteral("HEAD.0"),
                   "<meta charset=\"Shift_JIS\"><title>" + test::Hyo + "</title>\r\n<p><getnowday></p>\r\n");
    m_folder.write(QStringLiteral("FOOT.0"), "<!-- charset='cp932' " + test::So + " -->\r\n");
    TableDefinition d = named("u");
    d.CaptionText = test::Hyo;
    addDefinition(d);
    TableRowRecord row;
    row.CellTexts[1] = "charset=sjis " + test::So;
    m_folder.write(QStringLiteral("u.TBL"), recordsOf({row}));

    PageRunOptions utf8;
    utf8.encoding = PageEncoding::Utf8;
    EXPECT_EQ(run({0}, utf8), PageRunOutcome::Finished);
    const QByteArray hyo = test::hexBytes("e8a1a8");
    const QByteArray so = test::hexBytes("e382bd");
    EXPECT_EQ(page(QStringLiteral("u.html")),
              "<meta charset=\"UTF-8\"><title>" + hyo + "</title>\r\n<p>" +
                  QStringLiteral("日曜日").toUtf8() +
                  "</p>\r\n"
                  "<TABLE BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"1\">\r\n<CAPTION>" +
                  hyo +
                  "</CAPTION>\r\n"
                  "<TR><TD BGCOLOR=\"#FFFFFF\" VALIGN=\"TOP\"><FONT COLOR=\"#000000\">charset=sjis " +
                  so + "</FONT></TD></TR>\r\n</TABLE>\r\n<!-- charset='UTF-8' " + so + " -->\r\n");

    // The same page in Shift_JIS is the stored bytes as they are.
    EXPECT_EQ(run({0}), PageRunOutcome::Finished);
    EXPECT_TRUE(page(QStringLiteral("u.html")).startsWith("<meta charset=\"Shift_JIS\"><title>" + test::Hyo));
}

TEST_F(Pages, TheScrollLinesFrameTheTableAndItsCaption) {
    m_folder.write(QStringLiteral("HEAD.0"), "<body>\r\n");
    m_folder.write(QStringLiteral("FOOT.0"), "</body>\r\n");
    TableDefinition d = named("s");
    d.ScrollOnSmallScreens = true;
    d.FirstRowHeadings = true;
    d.CaptionText = "c";
    addDefinition(d);
    TableRowRecord row;
    row.CellTexts[1] = "h";
    m_folder.write(QStringLiteral("s.TBL"), recordsOf({row}));

    EXPECT_EQ(run({0}), PageRunOutcome::Finished);
    EXPECT_EQ(page(QStringLiteral("s.html")),
              "<body>\r\n<DIV STYLE=\"overflow-x:auto\">\r\n"
              "<TABLE BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"1\">\r\n<CAPTION>c</CAPTION>\r\n"
              "<THEAD><TR><TH SCOPE=\"COL\" BGCOLOR=\"#FFFFFF\" VALIGN=\"TOP\"><FONT "
              "COLOR=\"#000000\">h</FONT></TH></TR></THEAD>\r\n"
              "</TABLE>\r\n</DIV>\r\n</body>\r\n");
}

TEST_F(Pages, APageMadeInMemoryIsTheWrittenPageAndWritesNothing) {
    m_folder.write(QStringLiteral("HEAD.0"), "<meta charset=\"sjis\"><p><getnowdate></p>\r\n");
    m_folder.write(QStringLiteral("FOOT.0"), "</body>\r\n");
    addDefinition(named("m"));
    TableRowRecord row;
    row.CellTexts[1] = test::Hyo;
    row.CellPictures[1] = "a.jpg";
    m_folder.write(QStringLiteral("m.TBL"), recordsOf({row, row}));

    for (const PageEncoding encoding : {PageEncoding::ShiftJis, PageEncoding::Utf8}) {
        const std::optional<QByteArray> inMemory = GeneratePageInMemory(
            m_settings, m_folder.path(), 0, m_report, encoding, QLocale(QLocale::Japanese, QLocale::Japan));
        ASSERT_TRUE(inMemory);
        EXPECT_TRUE(pageFiles().isEmpty());
        PageRunOptions options;
        options.encoding = encoding;
        run({0}, options);
        EXPECT_EQ(*inMemory, page(QStringLiteral("m.html")));
        QFile::remove(m_folder.file(QStringLiteral("html/m.html")));
    }
    // A table that cannot be made gives nothing, after the same message as a run.
    m_report.messages.clear();
    addDefinition(named("nodata"));
    EXPECT_FALSE(GeneratePageInMemory(m_settings, m_folder.path(), 1, m_report, PageEncoding::ShiftJis));
    ASSERT_EQ(m_report.messages.size(), 1);
    EXPECT_TRUE(Messages::pageMessageText(m_report.messages.first())
                    .contains(QStringLiteral("データファイルがまだありません")));
}

/// Follows a run and stops it at a page, or at the first question within a page.
struct StoppingProgress : PageProgress {
    bool pageStarting(int index, int count, const QString& title) override {
        pages.append(QStringLiteral("%1/%2 %3").arg(index + 1).arg(count).arg(title));
        return index != stopAtPage;
    }
    bool goOn() override {
        ++questions;
        return !stopWithinPage;
    }
    QStringList pages;
    int stopAtPage = -1;
    bool stopWithinPage = false;
    int questions = 0;
};

TEST_F(Pages, EveryPageOfARunTellsTheTimeTheRunStarted) {
    m_folder.write(QStringLiteral("HEAD.0"), "<getnowtime>\r\n");
    m_folder.write(QStringLiteral("FOOT.0"), {});
    for (const char* name : {"a", "b"}) {
        addDefinition(named(name));
        m_folder.write(QString::fromLatin1(name) + QStringLiteral(".TBL"), {});
    }
    // The clock moves on while the run is under way.
    struct MovingClock : PageProgress {
        bool pageStarting(int index, int, const QString&) override {
            Clock::setFixedNow(QDateTime(QDate(1997, 6, 1), QTime(10, index, 0)));
            return true;
        }
        bool goOn() override { return true; }
    } movingClock;
    PageRunOptions options;
    options.progress = &movingClock;
    EXPECT_EQ(run({0, 1}, options), PageRunOutcome::Finished);
    EXPECT_TRUE(page(QStringLiteral("a.html")).startsWith("9:05:07\r\n"));
    EXPECT_TRUE(page(QStringLiteral("b.html")).startsWith("9:05:07\r\n"));
}

TEST_F(Pages, AStoppedRunPutsTheFinishedPagesInPlaceAndLeavesTheRestAsTheyWere) {
    m_folder.write(QStringLiteral("HEAD.0"), {});
    m_folder.write(QStringLiteral("FOOT.0"), {});
    TableRowRecord row;
    row.CellTexts[1] = "new";
    for (const char* name : {"a", "b", "c"}) {
        addDefinition(named(name));
        const QString file = QString::fromLatin1(name);
        m_folder.write(file + QStringLiteral(".TBL"), recordsOf(QList<TableRowRecord>(200, row)));
        m_folder.write(QStringLiteral("html/") + file + QStringLiteral(".html"), "old");
    }
    StoppingProgress progress;
    progress.stopAtPage = 1;
    PageRunOptions options;
    options.progress = &progress;
    EXPECT_EQ(run({0, 1, 2}, options), PageRunOutcome::Cancelled);
    EXPECT_EQ(progress.pages, (QStringList{QStringLiteral("1/3 a"), QStringLiteral("2/3 b")}));
    EXPECT_EQ(progress.questions, 3); // every 64 rows of page a
    EXPECT_EQ(page(QStringLiteral("a.html")).count("<TR>"), 200);
    EXPECT_EQ(page(QStringLiteral("b.html")), "old");
    EXPECT_EQ(m_report.lines(),
              QStringList{QStringLiteral("info:") + Messages::PagesCancelled.arg(1).arg(2)});
    // The scratch files of the pages that were being made ahead are gone too.
    EXPECT_EQ(pageFiles(),
              (QStringList{QStringLiteral("a.html"), QStringLiteral("b.html"), QStringLiteral("c.html")}));

    // Stopped within a page: that page keeps its old file, and no scratch file stays behind.
    m_report.messages.clear();
    progress = {};
    progress.stopWithinPage = true;
    EXPECT_EQ(run({1, 2}, options), PageRunOutcome::Cancelled);
    EXPECT_EQ(page(QStringLiteral("b.html")), "old");
    EXPECT_EQ(pageFiles(),
              (QStringList{QStringLiteral("a.html"), QStringLiteral("b.html"), QStringLiteral("c.html")}));
    EXPECT_EQ(m_report.lines(),
              QStringList{QStringLiteral("info:") + Messages::PagesCancelled.arg(0).arg(2)});
}

} // namespace
} // namespace kelvano
