#include "core/html/clock.h"
#include "core/html/html5_table_markup.h"
#include "core/html/page_generator.h"
#include "core/html/table_markup.h"
#include "core/store/table_definition_file.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "words/page_words.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::sjis;

/// A price list: a heading row and two rows of goods.
QList<TableRowRecord> priceRows() {
    QList<TableRowRecord> rows(3);
    rows[0].CellTexts[1] = sjis(QStringLiteral("品名"));
    rows[0].CellTexts[2] = sjis(QStringLiteral("価格"));
    rows[1].CellTexts[1] = "a";
    rows[1].CellTexts[2] = "1,200";
    rows[2].CellTexts[1] = "b";
    return rows;
}

/// The lines of a table as a page holds them, between the header and the footer.
template <typename Markup> QList<QByteArray> tableLines(Markup&& table, const QList<TableRowRecord>& rows) {
    QList<QByteArray> lines = linesBeforeRows(table);
    for (const TableRowRecord& record : rows) {
        const QByteArray stored = record.encode();
        QByteArray row;
        table.appendRow(row, TableRowView(stored));
        lines.append(row);
    }
    lines.append(linesAfterRows(table));
    return lines;
}

QList<QByteArray> classicLines(const TableDefinition& d) {
    return tableLines(TableMarkup(d, {}), priceRows());
}
QList<QByteArray> html5Lines(const TableDefinition& d) {
    return tableLines(Html5TableMarkup(d, {}, PageEncoding::Utf8), priceRows());
}

TableDefinition priceList() {
    TableDefinition d;
    d.FileName = "price list";
    d.ColumnCount = 2;
    d.BorderWidth = 0;
    d.CellSpacing = 0;
    d.CellPadding = 0;
    d.ColumnColourMode = false;
    d.ShowEmptyCells = false;
    d.ColumnAlignments.fill(9);
    return d;
}

/// The call at the end of the script line: "(sort,filter,stripes)</script>".
QByteArray scriptCall(const QByteArray& line) {
    return line.mid(line.lastIndexOf('('));
}

void expectSoundScript(const QByteArray& line, const char* open, const char* close) {
    EXPECT_TRUE(line.startsWith(open)) << line.left(40).toStdString();
    EXPECT_TRUE(line.endsWith(close));
    EXPECT_LE(line.size(), 4096) << "the script is small";
    // One line of ASCII that no "</" ends early, whatever the page's encoding.
    EXPECT_EQ(line.indexOf("</"), line.size() - qsizetype(strlen(close)));
    EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c < 0x7F; }));
}

TEST(PageOptions, EachOptionAloneAndAllTogetherInTheClassicMarkup) {
    TableDefinition d = priceList();
    d.FirstRowHeadings = true;
    const QList<QByteArray> plain{
        "<TABLE>",
        "<THEAD><TR><TH SCOPE=\"COL\" >" + sjis(QStringLiteral("品名")) + "</TH><TH SCOPE=\"COL\" >" +
            sjis(QStringLiteral("価格")) + "</TH></TR></THEAD>",
        "<TBODY><TR><TD >a</TD><TD >1,200</TD></TR>", "<TR><TD >b</TD><TD ></TD></TR>", "</TBODY></TABLE>"};
    EXPECT_EQ(classicLines(d), plain);

    TableDefinition sort = d;
    sort.SortByHeading = true;
    QList<QByteArray> lines = classicLines(sort);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines.first(5), plain);
    expectSoundScript(lines[5], "<SCRIPT>(function(S,F,N){", "</SCRIPT>");
    EXPECT_EQ(scriptCall(lines[5]), "(1,0,0)</SCRIPT>");

    TableDefinition filter = d;
    filter.FilterBox = true;
    EXPECT_EQ(scriptCall(classicLines(filter).last()), "(0,1,0)</SCRIPT>");

    TableDefinition sticky = d;
    sticky.StickyHeading = true;
    lines = classicLines(sticky);
    EXPECT_EQ(lines.size(), 5) << "no script for a fixed heading alone";
    EXPECT_EQ(lines[1], QByteArray(plain[1]).replace("<THEAD>", "<THEAD STYLE=\"position:sticky;top:0\">"));

    TableDefinition csv = d;
    csv.CsvBeside = true;
    EXPECT_EQ(classicLines(csv), plain + QList<QByteArray>{"<P><A HREF=\"price list.csv\">" +
                                                           sjis(QStringLiteral("CSVファイル")) + "</A></P>"});

    TableDefinition all = d;
    all.SortByHeading = all.FilterBox = all.StickyHeading = all.CsvBeside = true;
    all.ScrollOnSmallScreens = true;
    lines = classicLines(all);
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[0], "<DIV STYLE=\"overflow-x:auto\">") << "no height bound: a printout shows every row";
    EXPECT_EQ(lines[6], "</DIV>");
    EXPECT_TRUE(lines[7].startsWith("<P><A HREF="));
    EXPECT_EQ(scriptCall(lines[8]), "(1,1,0)</SCRIPT>");
}

TEST(PageOptions, EachOptionAloneAndAllTogetherInTheHtml5Markup) {
    TableDefinition d = priceList();
    d.FirstRowHeadings = true;
    const QList<QByteArray> plain{
        "<table>",
        "<thead><tr><th scope=\"col\">" + sjis(QStringLiteral("品名")) + "</th><th scope=\"col\">" +
            sjis(QStringLiteral("価格")) + "</th></tr></thead>",
        "<tbody><tr><td>a</td><td>1,200</td></tr>", "<tr><td>b</td><td></td></tr>", "</tbody></table>"};
    EXPECT_EQ(html5Lines(d), plain);

    TableDefinition sort = d;
    sort.SortByHeading = true;
    QList<QByteArray> lines = html5Lines(sort);
    ASSERT_EQ(lines.size(), 6);
    expectSoundScript(lines[5], "<script>(function(S,F,N){", "</script>");
    EXPECT_EQ(scriptCall(lines[5]), "(1,0,0)</script>");

    TableDefinition sticky = d;
    sticky.StickyHeading = true;
    sticky.ScrollOnSmallScreens = true;
    lines = html5Lines(sticky);
    EXPECT_EQ(lines.first(), "<div style=\"overflow-x:auto\">")
        << "no height bound: a printout shows every row";
    EXPECT_TRUE(lines[2].startsWith("<thead style=\"position:sticky;top:0\"><tr>"));
    EXPECT_EQ(lines.last(), "</div>");

    // The link names the file as a URL: the blank of its name is encoded.
    TableDefinition all = d;
    all.SortByHeading = all.FilterBox = all.StickyHeading = all.CsvBeside = true;
    all.ColumnColourMode = false;
    all.RowColourMode = true;
    all.RowColourCount = 3;
    lines = html5Lines(all);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[5],
              "<p><a href=\"price%20list.csv\">" + sjis(QStringLiteral("CSVファイル")) + "</a></p>");
    EXPECT_EQ(scriptCall(lines[6]), "(1,1,3)</script>") << "the row colours written on the cells";
}

TEST(PageOptions, SortFilterAndFixedHeadingNeedTheHeadingRowAndPagesWithoutOptionsStayAsTheyWere) {
    for (const bool html5 : {false, true}) {
        TableDefinition d = priceList();
        const QList<QByteArray> before = html5 ? html5Lines(d) : classicLines(d);
        EXPECT_FALSE(before.join().contains("BODY>") || before.join().contains("body>"));
        EXPECT_FALSE(before.join().toLower().contains("thead"));
        d.SortByHeading = d.FilterBox = d.StickyHeading = true;
        d.ScrollOnSmallScreens = false;
        EXPECT_EQ(html5 ? html5Lines(d) : classicLines(d), before) << "html5 " << html5;
    }
    // A heading row alone, with no row after it: a head and no body.
    TableDefinition d = priceList();
    d.FirstRowHeadings = true;
    TableMarkup table(d, {});
    EXPECT_EQ(table.endLine(), "</TABLE>");
    QByteArray row;
    const QByteArray stored = priceRows()[0].encode();
    table.appendRow(row, TableRowView(stored));
    EXPECT_EQ(table.endLine(), "</TABLE>");
    table.appendRow(row, TableRowView(stored));
    EXPECT_EQ(table.endLine(), "</TBODY></TABLE>");
}

class PageRun : public testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(m_folder.file(QStringLiteral("html")));
        m_settings = {sjis(m_folder.path()), sjis(m_folder.path() + QStringLiteral("html/")), {}, {}};
        m_folder.write(QStringLiteral("HEAD.0"), "<body>\r\n");
        m_folder.write(QStringLiteral("FOOT.0"), "</body>\r\n");
        Clock::setFixedNow(QDateTime(QDate(1997, 6, 1), QTime(9, 5, 7)));
    }
    void TearDown() override { Clock::setFixedNow({}); }

    /// Table 0, the price list with its rows, written as "p" with the CSV beside its page.
    void writeTableWithCsvBeside() {
        TableDefinition d = priceList();
        d.FileName = "p";
        d.HeaderName = "0:h";
        d.FooterName = "0:f";
        d.CsvBeside = true;
        TableDefinitionFile(m_folder.path()).append(d);
        QByteArray rows;
        for (const TableRowRecord& row : priceRows()) {
            rows += row.encode();
        }
        m_folder.write(QStringLiteral("p.TBL"), rows);
    }

    struct Silent : PageReport {
        void report(const PageMessage& message) override { texts.append(Messages::pageMessageText(message)); }
        QStringList texts;
    };

    test::TempFolder m_folder;
    SettingsRecord m_settings;
    Silent m_report;
};

TEST_F(PageRun, ThePageRunWritesTheTextsBesideThePageAsTheCsvExportDoes) {
    writeTableWithCsvBeside();

    ASSERT_EQ(GeneratePages(m_settings, m_folder.path(), {0}, m_report), PageRunOutcome::Finished)
        << m_report.texts.join(u'\n').toStdString();
    EXPECT_EQ(m_folder.read(QStringLiteral("html/p.csv")),
              "\xEF\xBB\xBF" + QStringLiteral("品名,価格\r\na,\"1,200\"\r\nb,\r\n").toUtf8());
    EXPECT_TRUE(m_folder.read(QStringLiteral("html/p.html")).contains("<P><A HREF=\"p.csv\">"));
    EXPECT_EQ(QDir(m_folder.file(QStringLiteral("html"))).entryList(QDir::Files),
              (QStringList{QStringLiteral("p.csv"), QStringLiteral("p.html")}))
        << "no scratch file stays";

    // A page made in memory (the preview) writes nothing beside it.
    QFile::remove(m_folder.file(QStringLiteral("html/p.csv")));
    ASSERT_TRUE(GeneratePageInMemory(m_settings, m_folder.path(), 0, m_report, PageEncoding::ShiftJis));
    EXPECT_FALSE(m_folder.exists(QStringLiteral("html/p.csv")));
}

TEST_F(PageRun, APageThatCannotBeWrittenKeepsTheCsvBesideItAsItWas) {
    writeTableWithCsvBeside();
    m_folder.write(QStringLiteral("html/p.html"), "old page");
    m_folder.write(QStringLiteral("html/p.csv"), "old csv");
    {
        // The new CSV (about 30 bytes) fits, the page does not.
        const test::FileSizeLimit limit(100);
        EXPECT_NE(GeneratePages(m_settings, m_folder.path(), {0}, m_report), PageRunOutcome::Finished);
    }
    EXPECT_EQ(m_folder.read(QStringLiteral("html/p.html")), "old page");
    EXPECT_EQ(m_folder.read(QStringLiteral("html/p.csv")), "old csv");
    EXPECT_EQ(QDir(m_folder.file(QStringLiteral("html"))).entryList(QDir::Files),
              (QStringList{QStringLiteral("p.csv"), QStringLiteral("p.html")}))
        << "no scratch file stays";
}

TEST_F(PageRun, AHeaderWithTheStyleTagGetsTheTablesRulesAndPicturesTheirSize) {
    m_folder.write(QStringLiteral("HEAD.1"), "<head><tablestyle></head><body>\r\n");
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(m_folder.file(QStringLiteral("dot.png"))));
    m_settings.ImageFolder = sjis(m_folder.path());
    TableDefinition d = priceList();
    d.FileName = "s";
    d.HeaderName = "1:styled";
    d.FooterName = "0:f";
    TableDefinitionFile(m_folder.path()).append(d);
    TableRowRecord row;
    row.CellPictures[1] = "C:\\dot.png";
    m_folder.write(QStringLiteral("s.TBL"), row.encode());

    PageRunOptions html5;
    html5.markup = PageMarkup::Html5;
    ASSERT_EQ(GeneratePages(m_settings, m_folder.path(), {0}, m_report, QLocale(), html5),
              PageRunOutcome::Finished);
    EXPECT_EQ(m_folder.read(QStringLiteral("html/s.html")),
              "<head><style>.kelvano{line-break:strict}</style></head><body>\r\n<table class=\"kelvano\">\r\n"
              "<tr><td><img src=\"dot.png\" alt=\"dot\" width=\"3\" height=\"2\"></td><td></td></tr>\r\n"
              "</table>\r\n</body>\r\n");
    // The classic markup has no style block: the tag is left out.
    ASSERT_EQ(GeneratePages(m_settings, m_folder.path(), {0}, m_report), PageRunOutcome::Finished);
    EXPECT_TRUE(
        m_folder.read(QStringLiteral("html/s.html")).startsWith("<head></head><body>\r\n<TABLE>\r\n"));
}

} // namespace
} // namespace kelvano
