#include "core/html/html5_table_markup.h"
#include "core/html/page_output.h"
#include "core/html/table_markup.h"
#include "support/temp_folder.h"

#include <QBuffer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::sjis;

/// What the probe found in the page once the script had run, one "name=value" line each.
const char Probe[] = R"(<script>
var out=[],t=document.querySelector('table'),b=t.tBodies[0];
function col(i){return [].map.call(b.rows,function(r){return r.hidden?'':r.cells[i].textContent.trim()}).filter(function(x){return x!==''||true}).join('|')}
var heads=t.tHead.rows[0].cells,btn=heads[1].querySelector('button'),st=document.querySelector('[role=status]');
out.push('button='+(btn?btn.tagName+':'+btn.type:'none'));out.push('kept='+(btn.parentNode===heads[1]&&!btn.contains(heads[1].firstChild)?heads[1].firstChild.textContent:'moved'));
btn.focus();out.push('focused='+(document.activeElement===btn));
btn.click();out.push('asc='+col(1));out.push('sort='+heads[1].getAttribute('aria-sort'));out.push('status='+st.textContent);
out.push('names='+col(0));out.push('stripes='+[].map.call(b.rows,function(r){return r.cells[1].getAttribute('bgcolor')||r.cells[1].style.backgroundColor}).join('|'));
btn.click();out.push('desc='+col(1));out.push('sort='+heads[1].getAttribute('aria-sort'));out.push('status='+st.textContent);
heads[0].querySelector('button').click();out.push('byname='+col(0));out.push('other='+heads[1].hasAttribute('aria-sort'));
var box=document.querySelector('input[type=search]');
out.push('label='+(box&&box.parentNode.tagName=='LABEL'?box.parentNode.textContent.trim():'none'));
box.value='\u3093';box.dispatchEvent(new Event('input'));
out.push('shown='+[].filter.call(b.rows,function(r){return !r.hidden}).map(function(r){return r.cells[0].textContent.trim()}).join('|'));
out.push('count='+st.textContent);
box.value='';box.dispatchEvent(new Event('input'));out.push('all='+st.textContent);
var p=document.createElement('pre');p.id='probe';p.textContent=out.join('\n');document.body.appendChild(p);
</script>)";

QList<TableRowRecord> fruitRows() {
    const QStringList names{QStringLiteral("品名"),   QStringLiteral("りんご"), QStringLiteral("バナナ"),
                            QStringLiteral("みかん"), QStringLiteral("いちご"), QStringLiteral("梨")};
    const QStringList prices{QStringLiteral("価格"),
                             QStringLiteral("1,200"),
                             QStringLiteral("９８０"),
                             QStringLiteral("￥3,000"),
                             QString(),
                             QStringLiteral("15")};
    QList<TableRowRecord> rows(names.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        rows[i].CellTexts[1] = sjis(names[i]);
        rows[i].CellTexts[2] = sjis(prices[i]);
    }
    return rows;
}

/// A page of `table` holding `rows`, with `before` run before the table and `probe` after its script.
template <typename Markup>
QByteArray pageOf(Markup&& table, PageEncoding encoding, const QList<TableRowRecord>& rows, const char* probe,
                  const char* before = "") {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PageOutput page(buffer, encoding);
    page.writeLine(encoding == PageEncoding::Utf8
                       ? "<!DOCTYPE html><html lang=\"ja\"><meta charset=\"UTF-8\"><body>"
                       : "<HTML><META CHARSET=\"Shift_JIS\"><BODY>");
    page.writeLine(before);
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
    page.writeLine(probe);
    page.writeLine("</body></html>");
    page.finish();
    return buffer.data();
}

/// The probe's lines as chromium's DOM holds them after the page's scripts ran.
QMap<QString, QStringList> probe(const QString& chromium, const QString& page, const QString& folder) {
    QProcess process;
    process.start(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                             QStringLiteral("--disable-gpu"), QStringLiteral("--lang=ja"),
                             QStringLiteral("--user-data-dir=") + folder + QStringLiteral("/profile"),
                             QStringLiteral("--virtual-time-budget=20000"), QStringLiteral("--dump-dom"),
                             QUrl::fromLocalFile(page).toString()});
    process.waitForFinished(60000);
    const QString dom = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("<pre id=\"probe\">(.*?)</pre>"),
                                                             QRegularExpression::DotMatchesEverythingOption)
                                              .match(dom);
    QMap<QString, QStringList> found;
    for (const QString& line : match.captured(1).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        found[line.left(equals)].append(line.mid(equals + 1));
    }
    return found;
}

/// A two-column table with a heading row, sorted by its headings, with a filter box.
TableDefinition sortedAndFiltered() {
    TableDefinition d;
    d.ColumnCount = 2;
    d.FirstRowHeadings = true;
    d.SortByHeading = true;
    d.FilterBox = true;
    return d;
}

/// Runs the table script in chromium, where it is installed.
class TableScript : public ::testing::Test {
protected:
    void SetUp() override {
        m_chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (m_chromium.isEmpty()) {
            GTEST_SKIP() << "chromium is not installed: the table script is not run in a browser";
        }
    }

    /// What `probeScript` found in a page of `d` holding `rows`, in HTML5 or the classic markup.
    QMap<QString, QStringList> run(const TableDefinition& d, bool html5, const QList<TableRowRecord>& rows,
                                   const char* probeScript, const char* before = "") {
        const PageEncoding encoding = html5 ? PageEncoding::Utf8 : PageEncoding::ShiftJis;
        const QString name = html5 ? QStringLiteral("html5.html") : QStringLiteral("classic.html");
        m_folder.write(name,
                       html5 ? pageOf(Html5TableMarkup(d, {}, encoding), encoding, rows, probeScript, before)
                             : pageOf(TableMarkup(d, {}), encoding, rows, probeScript, before));
        return probe(m_chromium, m_folder.file(name), m_folder.path());
    }

private:
    QString m_chromium;
    test::TempFolder m_folder;
};

TEST_F(TableScript, SortsJapaneseTextsAndWrittenNumbersFiltersAndKeepsTheStripesInChromium) {
    TableDefinition d = sortedAndFiltered();
    d.FirstColumnHeadings = true;
    d.ColumnColourMode = false;
    d.RowColourMode = true;
    d.RowColourCount = 2;
    d.RowBackColours[0] = 0x0000FF; // the heading row
    d.RowBackColours[1] = 0x00FF00;
    for (const bool html5 : {false, true}) {
        const QMap<QString, QStringList> found = run(d, html5, fruitRows(), Probe);
        SCOPED_TRACE(html5 ? "html5" : "classic");
        ASSERT_FALSE(found.value(QStringLiteral("button")).isEmpty()) << "the probe did not run";
        EXPECT_EQ(found[QStringLiteral("button")], QStringList{QStringLiteral("BUTTON:button")});
        EXPECT_EQ(found[QStringLiteral("focused")], QStringList{QStringLiteral("true")});
        // The heading's text stays outside the button: a printed page repeats the head's row without
        // drawing a button's content.
        EXPECT_EQ(found[QStringLiteral("kept")], QStringList{QStringLiteral("価格")});
        // Numbers with separators, full-width digits and a currency sign as numbers; the empty cell last
        // both ways.
        EXPECT_EQ(found[QStringLiteral("asc")], QStringList{QStringLiteral("15|９８０|1,200|￥3,000|")});
        EXPECT_EQ(found[QStringLiteral("desc")], QStringList{QStringLiteral("￥3,000|1,200|９８０|15|")});
        EXPECT_EQ(found[QStringLiteral("sort")],
                  (QStringList{QStringLiteral("ascending"), QStringLiteral("descending")}));
        EXPECT_EQ(found[QStringLiteral("status")],
                  (QStringList{QStringLiteral("価格で昇順に並べ替えました"),
                               QStringLiteral("価格で降順に並べ替えました")}));
        // The row headings go with their rows; the stripes stay in place.
        EXPECT_EQ(found[QStringLiteral("names")],
                  QStringList{QStringLiteral("梨|バナナ|りんご|みかん|いちご")});
        const QString green = html5 ? QStringLiteral("rgb(0, 255, 0)") : QStringLiteral("#00FF00");
        const QString red = html5 ? QStringLiteral("rgb(255, 0, 0)") : QStringLiteral("#FF0000");
        const QStringList stripes{green, red, green, red, green};
        EXPECT_EQ(found[QStringLiteral("stripes")], QStringList{stripes.join(u'|')});
        // Kana in the order of the syllabary (hiragana and katakana alike), kanji after them.
        EXPECT_EQ(found[QStringLiteral("byname")],
                  QStringList{QStringLiteral("いちご|バナナ|みかん|りんご|梨")});
        EXPECT_EQ(found[QStringLiteral("other")], QStringList{QStringLiteral("false")});
        EXPECT_EQ(found[QStringLiteral("label")], QStringList{QStringLiteral("絞り込み")});
        EXPECT_EQ(found[QStringLiteral("shown")], QStringList{QStringLiteral("みかん|りんご")});
        EXPECT_EQ(found[QStringLiteral("count")],
                  QStringList{QStringLiteral("2件を表示しています（全5件）")});
        EXPECT_EQ(found[QStringLiteral("all")], QStringList{QStringLiteral("5件を表示しています（全5件）")});
    }
}

/// In a page where frames are not drawn, a frame is the next turn of the event loop.
const char FramesAsTimers[] =
    "<script>window.requestAnimationFrame=function(f){return setTimeout(f,0)}</script>";

/// Sorts twice and filters a long table, looking at it right after each step and once every row is drawn.
const char LongTableProbe[] = R"(<script>
var out=[],t=document.querySelector('table'),b=t.tBodies[0],heads=t.tHead.rows[0].cells,st=document.querySelector('[role=status]'),box=document.querySelector('input[type=search]'),style=heads[0].style.cssText;
function waiting(){return [].filter.call(b.rows,function(r){return r.style.display=='none'}).length}
function order(up){var x=[].map.call(b.rows,function(r){return +r.cells[0].textContent});for(var i=1;i<x.length;i++)if(up?x[i]<x[i-1]:x[i]>x[i-1])return 'broken at '+i;return x.length}
function drawn(){return [].every.call(b.rows,function(r){return r.hidden||r.offsetHeight>0})}
function then(step){(function poll(){if(waiting())setTimeout(poll,5);else step()})()}
heads[0].querySelector('button').click();
out.push('order='+order(true));out.push('first='+(b.rows[0].offsetHeight>0));
out.push('waiting='+(waiting()>0&&waiting()<b.rows.length-20));out.push('held='+(heads[0].style.width!==''));
heads[0].querySelector('button').click();
then(function(){
out.push('order='+order(false));out.push('drawn='+drawn());out.push('restored='+(heads[0].style.cssText===style));
box.value='7';box.dispatchEvent(new Event('input'));
out.push('shown='+[].filter.call(b.rows,function(r){return !r.hidden}).length+' '+st.textContent);
box.value='';box.dispatchEvent(new Event('input'));
out.push('cleared='+[].filter.call(b.rows,function(r){return r.hidden}).length+' '+(waiting()>0)+' '+st.textContent);
box.value='3';box.dispatchEvent(new Event('input'));out.push('again='+st.textContent);
box.value='';box.dispatchEvent(new Event('input'));window.dispatchEvent(new Event('beforeprint'));out.push('printed='+waiting()+' '+drawn());
then(function(){out.push('drawn='+drawn());out.push('restored='+(heads[0].style.cssText===style));
var p=document.createElement('pre');p.id='probe';p.textContent=out.join('\n');document.body.appendChild(p)})});
</script>)";

TEST_F(TableScript, ALongTableIsCompleteAtOnceAndDrawnBelowTheViewAfterwards) {
    // 300 rows numbered from 300 down, far more than a window shows.
    QList<TableRowRecord> rows(301);
    rows[0].CellTexts[1] = sjis(QStringLiteral("番号"));
    rows[0].CellTexts[2] = sjis(QStringLiteral("名前"));
    for (int r = 1; r <= 300; ++r) {
        rows[r].CellTexts[1] = QByteArray::number(301 - r);
        rows[r].CellTexts[2] = sjis(r % 2 ? QStringLiteral("あ") : QStringLiteral("い"));
    }
    for (const bool html5 : {false, true}) {
        const QMap<QString, QStringList> found =
            run(sortedAndFiltered(), html5, rows, LongTableProbe, FramesAsTimers);
        SCOPED_TRACE(html5 ? "html5" : "classic");
        ASSERT_FALSE(found.value(QStringLiteral("order")).isEmpty()) << "the probe did not run";
        // The body's order is whole at once, both times (the second sort while rows still waited).
        EXPECT_EQ(found[QStringLiteral("order")],
                  (QStringList{QStringLiteral("300"), QStringLiteral("300")}));
        // The first rows are drawn at once, the rows below the view wait, the column widths are held
        // meanwhile and given back as they were once every row is drawn.
        EXPECT_EQ(found[QStringLiteral("first")], QStringList{QStringLiteral("true")});
        EXPECT_EQ(found[QStringLiteral("waiting")], QStringList{QStringLiteral("true")});
        EXPECT_EQ(found[QStringLiteral("held")], QStringList{QStringLiteral("true")});
        EXPECT_EQ(found[QStringLiteral("drawn")],
                  (QStringList{QStringLiteral("true"), QStringLiteral("true")}));
        EXPECT_EQ(found[QStringLiteral("restored")],
                  (QStringList{QStringLiteral("true"), QStringLiteral("true")}));
        // 57 of the numbers 1 to 300 hold a 7; clearing the filter shows every row at once in the DOM and
        // in the count, and draws those below the view afterwards.
        EXPECT_EQ(found[QStringLiteral("shown")],
                  QStringList{QStringLiteral("57 57件を表示しています（全300件）")});
        EXPECT_EQ(found[QStringLiteral("cleared")],
                  QStringList{QStringLiteral("0 true 300件を表示しています（全300件）")});
        // Filtering again while rows wait draws the rows it keeps (58 of the numbers hold a 3).
        EXPECT_EQ(found[QStringLiteral("again")],
                  QStringList{QStringLiteral("58件を表示しています（全300件）")});
        // A printout has every row.
        EXPECT_EQ(found[QStringLiteral("printed")], QStringList{QStringLiteral("0 true")});
    }
}

} // namespace
} // namespace kelvano
