// Pages of a parts list of 1,000, 2,000 and 10,000 rows in both markups, for the page size figures and
// for the in-page sorting and filtering benchmark (bench/web_table_bench.mjs):
//
//   kelvano_web_table_pages OUT_DIR
//
// writes OUT_DIR/{classic,html5-inline,html5-styled}-N.html and prints each page's size and the HTML5
// pages' sizes against the classic page's.

#include "core/html/header_macros.h"
#include "core/html/html5_table_markup.h"
#include "core/html/page_output.h"
#include "core/html/starter_snippets.h"
#include "core/html/table_markup.h"
#include "core/store/shift_jis.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <cstdio>

namespace kelvano {
namespace {

QByteArray sjis(const QString& text) {
    return ShiftJis::encode(text).bytes;
}

/// A parts list as a site owner keeps it: a heading row, part numbers, names, prices written with
/// separators and a yen sign, stock counts in full-width digits now and then, suppliers and notes.
QList<TableRowRecord> partsList(int rows) {
    const QStringList names{QStringLiteral("六角ボルト"), QStringLiteral("ナット"),
                            QStringLiteral("ばね座金"),   QStringLiteral("平座金"),
                            QStringLiteral("蝶ボルト"),   QStringLiteral("アイボルト")};
    const QStringList suppliers{QStringLiteral("東京金物"), QStringLiteral("大阪螺子"),
                                QStringLiteral("名古屋工業")};
    QList<TableRowRecord> list(rows + 1);
    const QStringList headings{QStringLiteral("品番"), QStringLiteral("品名"),   QStringLiteral("価格"),
                               QStringLiteral("在庫"), QStringLiteral("仕入先"), QStringLiteral("備考")};
    for (int c = 0; c < headings.size(); ++c) {
        list[0].CellTexts[static_cast<std::size_t>(c + 1)] = sjis(headings[c]);
    }
    unsigned seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFFu;
    };
    for (int r = 1; r <= rows; ++r) {
        TableRowRecord& row = list[r];
        row.CellTexts[1] = "P-" + QByteArray::number(10000 + static_cast<int>(next() % 90000));
        row.CellTexts[2] = sjis(names[static_cast<int>(next() % 6)] + QStringLiteral(" M") +
                                QString::number(3 + static_cast<int>(next() % 20)));
        row.CellTexts[3] = sjis(QStringLiteral("￥") +
                                QLocale(QLocale::English).toString(static_cast<int>(next() % 200000)));
        const int stock = static_cast<int>(next() % 5000);
        row.CellTexts[4] = QByteArray::number(stock);
        if (r % 7 == 0) {
            QString wide;
            for (const QChar digit : QString::number(stock)) {
                wide += QChar(0xFF10 + digit.digitValue());
            }
            row.CellTexts[4] = sjis(wide);
        }
        row.CellTexts[5] = sjis(suppliers[static_cast<int>(next() % 3)]);
        row.CellTexts[6] = r % 5 == 0 ? sjis(QStringLiteral("在庫限り")) : QByteArray();
    }
    return list;
}

TableDefinition partsDefinition() {
    TableDefinition d;
    d.FileName = "parts";
    d.CaptionText = sjis(QStringLiteral("部品一覧"));
    d.ColumnCount = 6;
    d.FirstRowHeadings = true;
    d.SortByHeading = true;
    d.FilterBox = true;
    d.StickyHeading = true;
    d.ColumnColourMode = false;
    d.RowColourMode = true;
    d.RowColourCount = 2;
    d.RowBackColours[0] = 0xE0D0C0;
    d.RowBackColours[1] = 0xF8F8F8;
    for (const int i : {2, 3}) {
        d.ColumnAlignments[static_cast<std::size_t>(i)] = 5;
    }
    return d;
}

template <typename Markup>
QByteArray pageOf(Markup& table, const QList<TableRowRecord>& rows, const QList<QByteArray>& header) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    PageOutput page(buffer, PageEncoding::Utf8);
    for (const QByteArray& line : header) {
        page.writeLine(ExpandTableStyle(ExpandMacros(line), [&table] { return table.styleSheet(); }));
    }
    for (const QByteArray& line : linesBeforeRows(table)) {
        page.writeLine(line);
    }
    for (const TableRowRecord& record : rows) {
        const QByteArray stored = record.encode();
        page.appendLine([&](QByteArray& out) { table.appendRow(out, TableRowView(stored)); });
    }
    for (const QByteArray& line : linesAfterRows(table)) {
        page.writeLine(line);
    }
    for (const QString& line : starterSnippet(SnippetKind::Footer, PageEncoding::Utf8)) {
        page.writeLine(sjis(line));
    }
    page.finish();
    return bytes;
}

int run(const QString& folder) {
    QList<QByteArray> styled;
    QList<QByteArray> inlined;
    for (const QString& line : starterSnippet(SnippetKind::Header, PageEncoding::Utf8)) {
        styled.append(sjis(line));
        if (line != QStringLiteral("<TABLESTYLE>")) {
            inlined.append(sjis(line));
        }
    }
    const TableDefinition d = partsDefinition();
    for (const int rows : {1000, 2000, 10000}) {
        const QList<TableRowRecord> list = partsList(rows);
        TableMarkup classic(d, {});
        Html5TableMarkup html5Inline(d, {}, PageEncoding::Utf8);
        Html5TableMarkup html5Styled(d, {}, PageEncoding::Utf8);
        const QByteArray pages[] = {pageOf(classic, list, inlined), pageOf(html5Inline, list, inlined),
                                    pageOf(html5Styled, list, styled)};
        const char* names[] = {"classic", "html5-inline", "html5-styled"};
        for (int i = 0; i < 3; ++i) {
            QFile file(folder + QStringLiteral("/%1-%2.html").arg(QLatin1String(names[i])).arg(rows));
            if (!file.open(QIODevice::WriteOnly) || file.write(pages[i]) != pages[i].size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
            std::printf("%6d rows %-13s %9lld bytes  %.2fx classic\n", rows, names[i],
                        static_cast<long long>(pages[i].size()),
                        static_cast<double>(pages[i].size()) / static_cast<double>(pages[0].size()));
        }
    }
    return 0;
}

} // namespace
} // namespace kelvano

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvano_web_table_pages OUT_DIR\n");
        return 2;
    }
    return kelvano::run(QString::fromLocal8Bit(argv[1]));
}
