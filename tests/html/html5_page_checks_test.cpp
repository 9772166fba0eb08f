#include "core/html/header_macros.h"
#include "core/html/html5_table_markup.h"
#include "core/html/page_output.h"
#include "core/html/starter_snippets.h"
#include "core/html/table_markup.h"
#include "core/store/shift_jis.h"
#include "support/temp_folder.h"

#include <QBuffer>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <random>

namespace kelvano {
namespace {

using test::sjis;

/// A page as the page run writes it, with the header and footer templates around the table.
template <typename Markup>
QByteArray pageOf(Markup&& table, const TableDefinition& d, const QList<TableRowRecord>& rows,
                  PageEncoding encoding) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PageOutput page(buffer, encoding);
    for (const QString& line : starterSnippet(SnippetKind::Header, encoding)) {
        page.writeLine(ExpandMacros(sjis(line)));
    }
    if (const QByteArray scroll = table.scrollStartLine(); !scroll.isEmpty()) {
        page.writeLine(scroll);
    }
    page.writeLine(table.startLine());
    if (const QByteArray caption = table.captionLine(); !caption.isEmpty()) {
        page.writeLine(caption);
    }
    for (const TableRowRecord& record : rows) {
        QByteArray row;
        table.appendRow(row, record);
        page.writeLine(row);
    }
    page.writeLine(table.endLine());
    if (const QByteArray scroll = table.scrollEndLine(); !scroll.isEmpty()) {
        page.writeLine(scroll);
    }
    for (const QString& line : starterSnippet(SnippetKind::Footer, encoding)) {
        page.writeLine(sjis(line));
    }
    page.finish();
    return buffer.data();
}

/// A definition with every option drawn at random, and rows of texts, pictures, links and backgrounds.
std::pair<TableDefinition, QList<TableRowRecord>> randomTable(std::mt19937& random) {
    const auto pick = [&random](int count) {
        return static_cast<int>(random() % static_cast<unsigned>(count));
    };
    const auto colourText = [&pick] {
        return HtmlColour(static_cast<quint32>(pick(0x1000000)));
    };
    TableDefinition d;
    d.BorderWidth = static_cast<quint8>(pick(3) == 0 ? 0 : pick(8));
    d.CaptionText = pick(2) ? sjis(QStringLiteral("価格 <b>一覧</b>")) : QByteArray();
    d.CaptionOnTop = pick(2);
    d.Use3DColours = pick(2);
    d.BorderColour = pick(2) ? colourText() : QByteArray();
    d.LightColour = pick(3) ? colourText() : QByteArray();
    d.DarkColour = pick(3) ? colourText() : QByteArray();
    const QList<QByteArray> widths{"", "640", "75%", "100%"};
    d.TableWidth = widths[pick(4)];
    d.CellSpacing = static_cast<quint8>(pick(6));
    d.CellPadding = static_cast<quint8>(pick(6));
    d.ColumnColourMode = pick(3) == 0;
    d.RowColourMode = !d.ColumnColourMode && pick(2);
    d.FirstColumnHeadings = pick(2);
    d.FirstRowHeadings = pick(2);
    d.ScrollOnSmallScreens = pick(2);
    d.ColumnCount = static_cast<quint16>(1 + pick(5));
    d.RowColourCount = static_cast<quint16>(1 + pick(3));
    d.ShowEmptyCells = pick(2);
    for (int i = 0; i < TableDefinition::ArrayLength; ++i) {
        const auto at = static_cast<std::size_t>(i);
        d.ColumnBackColours[at] = static_cast<quint32>(pick(0x1000000));
        d.RowBackColours[at] = static_cast<quint32>(pick(0x1000000));
        d.ColumnTextColours[at] = static_cast<quint32>(pick(0x1000000));
        d.RowTextColours[at] = static_cast<quint32>(pick(0x1000000));
        d.ColumnFontSizes[at] = pick(11) - 5;
        d.ColumnAlignments[at] = static_cast<quint8>(pick(10));
    }
    const QList<QByteArray> texts{"", "", "123", sjis(QStringLiteral("りんご <b>赤</b>")), "a &amp; b"};
    const QList<QByteArray> pictures{"", "", "C:\\pics\\red dot.png",
                                     sjis(QStringLiteral("C:\\絵\\青い点.png"))};
    const QList<QByteArray> links{"", "", "http://example.com/a b?x=1&y=2", "page.html#top"};
    QList<TableRowRecord> rows(1 + pick(5));
    for (TableRowRecord& row : rows) {
        for (int column = 1; column <= d.ColumnCount; ++column) {
            const auto c = static_cast<std::size_t>(column);
            row.CellTexts[c] = texts[pick(5)];
            row.CellPictures[c] = pictures[pick(4)];
            row.PictureOnRight[c] = static_cast<quint8>(pick(2));
            row.CellLinks[c] = links[pick(4)];
            row.CellBackgrounds[c] = pick(4) == 0 ? pictures[2 + pick(2)] : QByteArray();
        }
    }
    return {d, rows};
}

TEST(Html5Page, TidyFindsNeitherErrorsNorWarningsInRandomTables) {
    const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
    if (tidy.isEmpty()) {
        GTEST_SKIP() << "tidy is not installed: the HTML5 pages are not checked";
    }
    test::TempFolder folder;
    std::mt19937 random(17);
    for (int round = 0; round < 40; ++round) {
        const auto [d, rows] = randomTable(random);
        const PageEncoding encoding = round % 2 ? PageEncoding::Utf8 : PageEncoding::ShiftJis;
        const QString path = folder.file(QStringLiteral("page%1.html").arg(round));
        folder.write(QStringLiteral("page%1.html").arg(round),
                     pageOf(Html5TableMarkup(d, "grph/", encoding), d, rows, encoding));
        QProcess process;
        process.start(tidy,
                      {QStringLiteral("-e"), QStringLiteral("-q"),
                       encoding == PageEncoding::Utf8 ? QStringLiteral("-utf8") : QStringLiteral("-shiftjis"),
                       path});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0) << path.toStdString();
        EXPECT_EQ(process.readAllStandardError().toStdString(), "") << path.toStdString();
    }
}

} // namespace
} // namespace kelvano
