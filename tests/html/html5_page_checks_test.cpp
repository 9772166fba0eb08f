#include "core/html/header_macros.h"
#include "core/html/html5_table_markup.h"
#include "core/html/page_output.h"
#include "core/html/starter_snippets.h"
#include "core/html/table_markup.h"
#include "core/store/shift_jis.h"
#include "support/temp_folder.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <gtest/gtest.h>
#include <random>

namespace kelvano {
namespace {

using test::sjis;

/// A page as the page run writes it, with the header and footer templates around the table. The
/// template's <TABLESTYLE> gives an HTML5 table its style block; without `styleSheet` the header leaves
/// it out and the table carries its styles on its elements.
template <typename Markup>
QByteArray pageOf(Markup&& table, const QList<TableRowRecord>& rows, PageEncoding encoding,
                  bool styleSheet = true) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PageOutput page(buffer, encoding);
    for (const QString& line : starterSnippet(SnippetKind::Header, encoding)) {
        if (line == QStringLiteral("<TABLESTYLE>") && !styleSheet) {
            continue;
        }
        page.writeLine(ExpandTableStyle(ExpandMacros(sjis(line)), [&table] { return table.styleSheet(); }));
    }
    for (const QByteArray& line : linesBeforeRows(table)) {
        page.writeLine(line);
    }
    for (const TableRowRecord& record : rows) {
        const QByteArray stored = record.encode();
        QByteArray row;
        table.appendRow(row, TableRowView(stored));
        page.writeLine(row);
    }
    for (const QByteArray& line : linesAfterRows(table)) {
        page.writeLine(line);
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
                     pageOf(Html5TableMarkup(d, "grph/", encoding), rows, encoding, round % 4 < 2));
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

/// Definitions that together set each option once, with rows that show it: borders, single border
/// colours, width, spacing, padding, caption sides, both colour modes and none, every alignment and
/// font size, headings, the scrolling wrapper, pictures on either side, links, backgrounds and empty
/// cells with and without the line break.
QList<std::pair<TableDefinition, QList<TableRowRecord>>> renderFixtures() {
    QList<std::pair<TableDefinition, QList<TableRowRecord>>> fixtures;
    const auto rowsOf = [](int columns, int count) {
        QList<TableRowRecord> rows(count);
        for (int r = 0; r < count; ++r) {
            for (int c = 1; c <= columns; ++c) {
                const auto at = static_cast<std::size_t>(c);
                rows[r].CellTexts[at] =
                    (r + c) % 4 == 0 ? QByteArray() : sjis(QStringLiteral("表%1 <b>x</b>").arg(r * 10 + c));
            }
        }
        return rows;
    };
    TableDefinition plain;
    plain.ColumnCount = 3;
    plain.CaptionText = sjis(QStringLiteral("一覧"));
    plain.ColumnBackColours[1] = 0xC0FFC0;
    plain.ColumnTextColours[2] = 0x0000FF;
    fixtures.append({plain, rowsOf(3, 4)});

    TableDefinition framed;
    framed.ColumnCount = 9;
    framed.BorderWidth = 4;
    framed.BorderColour = "336699";
    framed.TableWidth = "90%";
    framed.CellSpacing = 5;
    framed.CellPadding = 6;
    framed.CaptionText = "Caption below";
    framed.CaptionOnTop = false;
    framed.ColumnColourMode = false;
    framed.RowColourMode = true;
    framed.RowColourCount = 3;
    framed.RowBackColours[1] = 0xFFE0E0;
    framed.RowTextColours[1] = 0x800000;
    framed.RowBackColours[2] = 0xE0E0FF;
    for (int i = 0; i < 9; ++i) {
        framed.ColumnAlignments[static_cast<std::size_t>(i)] = static_cast<quint8>(i);
        framed.ColumnFontSizes[static_cast<std::size_t>(i)] = i - 3;
    }
    fixtures.append({framed, rowsOf(9, 5)});

    TableDefinition pictured;
    pictured.ColumnCount = 3;
    pictured.BorderWidth = 0;
    pictured.CellSpacing = 0;
    pictured.CellPadding = 3;
    pictured.TableWidth = "500";
    pictured.ColumnColourMode = false;
    pictured.FirstColumnHeadings = true;
    pictured.FirstRowHeadings = true;
    pictured.ScrollOnSmallScreens = true;
    pictured.ShowEmptyCells = false;
    QList<TableRowRecord> rows = rowsOf(3, 4);
    rows[1].CellPictures[1] = "C:\\pics\\red dot.png";
    rows[1].CellLinks[1] = "other page.html";
    rows[1].CellPictures[2] = sjis(QStringLiteral("青い点.png"));
    rows[1].PictureOnRight[2] = 1;
    rows[2].CellBackgrounds[2] = "tile bg.png";
    rows[2].CellLinks[3] = "http://example.com/?a=1&b=2";
    fixtures.append({pictured, rows});
    return fixtures;
}

QImage screenshot(const QString& chromium, const QString& page, const QString& folder) {
    const QString shot = page + QStringLiteral(".png");
    QProcess process;
    process.start(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                             QStringLiteral("--disable-gpu"), QStringLiteral("--hide-scrollbars"),
                             QStringLiteral("--force-device-scale-factor=1"),
                             QStringLiteral("--user-data-dir=") + folder + QStringLiteral("profile"),
                             QStringLiteral("--window-size=1000,700"), QStringLiteral("--screenshot=") + shot,
                             QUrl::fromLocalFile(page).toString()});
    process.waitForFinished(60000);
    return QImage(shot).convertToFormat(QImage::Format_RGB32);
}

/// How many pixels of the two pictures differ in any channel by more than a little.
int differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return std::numeric_limits<int>::max();
    }
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* left = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* right = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int difference = std::max({std::abs(qRed(left[x]) - qRed(right[x])),
                                             std::abs(qGreen(left[x]) - qGreen(right[x])),
                                             std::abs(qBlue(left[x]) - qBlue(right[x]))});
            count += difference > 8 ? 1 : 0;
        }
    }
    return count;
}

TEST(Html5Page, ChromiumDrawsTheHtml5TableAsTheClassicOne) {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) {
        GTEST_SKIP() << "chromium is not installed: the HTML5 pages are not compared with the classic ones";
    }
    test::TempFolder folder;
    QImage dot(8, 8, QImage::Format_RGB32);
    dot.fill(Qt::red);
    dot.save(folder.file(QStringLiteral("red dot.png")));
    dot.fill(Qt::blue);
    dot.save(folder.file(QStringLiteral("青い点.png")));
    QImage tile(4, 4, QImage::Format_RGB32);
    tile.fill(Qt::yellow);
    tile.setPixel(0, 0, qRgb(0, 128, 0));
    tile.save(folder.file(QStringLiteral("tile bg.png")));
    const auto fixtures = renderFixtures();
    for (qsizetype i = 0; i < fixtures.size(); ++i) {
        const auto& [d, rows] = fixtures[i];
        const PageEncoding encoding = i % 2 ? PageEncoding::Utf8 : PageEncoding::ShiftJis;
        const QString classicName = QStringLiteral("classic%1.html").arg(i);
        const QString html5Name = QStringLiteral("html5-%1.html").arg(i);
        folder.write(classicName, pageOf(TableMarkup(d, {}), rows, encoding));
        folder.write(html5Name, pageOf(Html5TableMarkup(d, {}, encoding), rows, encoding, i % 3 != 2));
        const QImage classic = screenshot(chromium, folder.file(classicName), folder.path());
        const QImage html5 = screenshot(chromium, folder.file(html5Name), folder.path());
        ASSERT_FALSE(classic.isNull()) << "chromium made no screenshot";
        const int differing = differingPixels(classic, html5);
        EXPECT_LE(differing, 0) << "fixture " << i << ": the screenshots are kept in "
                                << QDir::tempPath().toStdString();
        if (differing > 0) {
            classic.save(QDir::tempPath() + QStringLiteral("/kelvano-classic%1.png").arg(i));
            html5.save(QDir::tempPath() + QStringLiteral("/kelvano-html5-%1.png").arg(i));
        }
    }
}

} // namespace
} // namespace kelvano
