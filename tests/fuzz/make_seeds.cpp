// Writes the seed corpus of every fuzz target from the project's own encoders:
//   kelvano_fuzz_seeds tests/fuzz/corpus
// Each seed is small and built for one purpose: Shift-JIS texts with a 0x5C or letter second byte,
// non-default values in every part, torn tails.

#include "core/shell/item_id_list.h"
#include "core/store/settings_record.h"
#include "core/store/shift_jis.h"
#include "core/store/snippet_store.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"
#include "core/store/text_lines.h"
#include "jpeg_writer.h"
#include "support/every_field_definition.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstring>

using namespace kelvano;

namespace {

QString g_root;

QByteArray sjis(const QString& text) {
    return ShiftJis::encode(text).bytes;
}

void seed(const char* target, const char* name, QByteArrayView bytes) {
    const QString folder = g_root + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + QLatin1String(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s/%s\n", target, name);
        std::exit(1);
    }
}

QByteArray run(QByteArrayView bytes) {
    return char(bytes.size()) + bytes.toByteArray();
}

QByteArray word(int value) {
    return QByteArray(1, char(value & 0xFF)) + char((value >> 8) & 0xFF);
}

/// Every field set, with Japanese names and the three columns the row seeds hold.
TableDefinition richDefinition() {
    TableDefinition d = test::everyFieldSet();
    d.TableName = sjis(QStringLiteral("表ソＢ 成績"));
    d.FileName = "SCORE";
    d.HeaderName = "0:" + sjis(QStringLiteral("見出し"));
    d.FooterName = "1:Foot";
    d.CaptionText = sjis(QStringLiteral("ソフト表"));
    d.ColumnCount = 3;
    d.RowColourCount = 2;
    return d;
}

QByteArray rowFile(int columns, int rows) {
    QByteArray file;
    for (int r = 0; r < rows; ++r) {
        TableRow row;
        for (int c = 0; c < columns; ++c) {
            row.append({sjis(QStringLiteral("表%1ソ").arg(r * columns + c)), c % 2 ? "C:\\GRPH\\PIC.JPG" : "",
                        c % 3 ? "http://example.invalid/" : "", c % 2 ? "LEFT" : "RIGHT",
                        c == 1 ? sjis(QStringLiteral("背景ソ.gif")) : ""});
        }
        file += TableRowRecord::fromRow(row).encode();
    }
    return file;
}

void tableDefinitionSeeds() {
    seed("table_definition", "new", TableDefinition().encode());
    TableDefinition deleted = richDefinition();
    deleted.Deleted = true;
    seed("table_definition", "rich-and-deleted-torn-tail",
         richDefinition().encode() + deleted.encode() + QByteArray(100, '\x07'));
    QByteArray overlong = richDefinition().encode();
    overlong[0] = char(0xFF); // a length byte above the capacity
    overlong[1516] = char(0xFF);
    overlong[1517] = char(0xFF); // 65535 columns
    seed("table_definition", "overlong-lengths", overlong);
}

void settingsSeeds() {
    const SettingsRecord settings{"/home/user/DATA/", sjis(QStringLiteral("/home/表/HTML/")), "/srv/GRPH/",
                                  "/img/"};
    seed("settings", "folders", settings.encode());
    seed("settings", "short", settings.encode().first(40));
    seed("settings", "record-and-more", settings.encode() + "extra");
}

void snippetSeeds() {
    const QByteArray index = SnippetIndexRecord{"Top", false}.encode() +
                             SnippetIndexRecord{sjis(QStringLiteral("ソ表")), true}.encode() +
                             SnippetIndexRecord{QByteArray(80, 'n'), false}.encode();
    seed("snippet_index", "three-records",
         word(int(index.size())) + index + run(sjis(QStringLiteral("新しいヘッダ"))) +
             joinLines({"<HTML>", "<BODY><GETNOWDATE>", sjis(QStringLiteral("表ソ"))}));
    seed("snippet_index", "empty-index", word(0) + run("Foot") + QByteArray());
    const QByteArray torn = index + "torn";
    seed("snippet_index", "torn-tail",
         word(int(torn.size())) + torn + run(QByteArray(90, 'x')) + "one\rline\n\n");
}

void tableRowSeeds() {
    seed("table_rows", "three-columns", char(3) + rowFile(3, 1));
    seed("table_rows", "fifty-columns-torn-tail", char(50) + rowFile(50, 2) + QByteArray(100, 'x'));
    seed("table_rows", "empty-file", QByteArray(1, char(1)));
    seed("table_rows", "negative-column-count", char(-5) + rowFile(2, 1));
}

void shiftJisSeeds() {
    seed(
        "shift_jis_lines", "lines",
        joinLines({sjis(QStringLiteral("表ソＢ ABC")), sjis(QStringLiteral("ｶﾀｶﾅ①Ⅻ")), QByteArray(), "\\~"}));
    seed("shift_jis_lines", "half-character", sjis(QStringLiteral("表")) + "\r\nA\x81");
    const QString typed = QStringLiteral("表ソ😀é\u00A5");
    seed("shift_jis_lines", "utf16-text",
         QByteArrayView(reinterpret_cast<const char*>(typed.utf16()), typed.size() * 2));
    seed("shift_jis_lines", "bare-cr-lf", "a\rb\nc\r\r\n");
}

void delimitedSeeds() {
    seed("delimited_text", "quoted-utf8",
         "\xEF\xBB\xBF"
         "a,\"b,\r\nc\",\"\"\"q\"\"\"\r\n\xE8\xA1\xA8,,\r\n");
    seed("delimited_text", "shift-jis-semicolons", sjis(QStringLiteral("表;ソ;\"x\ny\"\n1;2;3\n")));
    seed("delimited_text", "tabs-open-quote", "a\tb\n\"open\tc\rd");
}

void macroSeeds() {
    seed("expand_macros", "tags", "<p><getnowdate> <GETNOWTIME> <GetNowDay></p>");
    seed("expand_macros", "double-byte", sjis(QStringLiteral("表<GETNOWDAY>ソＢｂ")));
    seed("expand_macros", "nested", "<<GETNOWDATE>><GETNOW<GETNOWDAY>DATE>");
}

QByteArray cells(const QList<QByteArray>& texts) {
    QByteArray bytes;
    for (int i = 0; i < texts.size(); ++i) {
        const int flags = i % 3 == 0 ? 0x1F : i % 3 == 1 ? 0x01 : 0x0B;
        bytes += char(flags);
        for (int layer = 0; layer < 4; ++layer) {
            if (flags & (1 << layer)) {
                bytes += run(layer == 1 || layer == 3 ? "C:\\GRPH\\" + texts[i] : texts[i]);
            }
        }
    }
    return bytes;
}

void markupSeeds() {
    const QList<QByteArray> texts = {sjis(QStringLiteral("表")), "", sjis(QStringLiteral("ソＢ.jpg")), "100"};
    seed("table_markup", "row-colours",
         richDefinition().encode() + run("/img/") + cells(texts) + cells(texts));
    TableDefinition columns;
    columns.ColumnCount = 50;
    columns.CaptionText = "Caption";
    seed("table_markup", "fifty-columns", columns.encode() + run(QByteArray(200, 'p')) + cells(texts));
    seed("table_markup", "short-definition", QByteArray(10, '\x01'));
}

void textSeeds() {
    const auto input = [](quint8 width, qint32 number, double real, QByteArrayView prefix,
                          QByteArrayView text) {
        QByteArray bytes(1, char(width));
        bytes += word(number & 0xFFFF) + word(int((quint32(number) >> 16) & 0xFFFF));
        bytes += QByteArray(reinterpret_cast<const char*>(&real), sizeof real);
        return bytes + run(prefix) + text.toByteArray();
    };
    seed("text_operations", "csv", input(10, 1234567, 1.005, "ab", "abc, d\t\"e,f\",,\\1,980"));
    seed("text_operations", "dates", input(90, -2147483647 - 1, 0.0123, "", "98/03/15"));
    seed("text_operations", "yen",
         input(0, -1, -9.999e300, sjis(QStringLiteral("表")),
               sjis(QStringLiteral("表ソ")) + "\\1,980 " + "1.50000000000000E+0002"));
}

void itemIdSeeds() {
    const ItemIdList path = ItemIdList::concatenate(ItemIdList::fromPayload("home"),
                                                    ItemIdList::fromPayload(sjis(QStringLiteral("表"))));
    seed("item_id_list", "two-elements", QByteArray("\x01\x02") + path.bytes());
    seed("item_id_list", "desktop", QByteArray("\x01\x00", 2) + ItemIdList::desktop().bytes());
    seed("item_id_list", "torn", QByteArray("\x03\x7F") + path.bytes().chopped(3));
}

void jpegSeeds() {
    seed("jpeg", "rgb", test::jpegBytes(16, 8, Qt::red));
    const unsigned char inks[4] = {0x00, 0xFF, 0x80, 0x20};
    seed("jpeg", "cmyk", test::cmykJpegBytes(8, 8, inks));
    const QByteArray whole = test::jpegBytes(24, 24, Qt::blue);
    seed("jpeg", "truncated", whole.first(whole.size() / 2));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    tableDefinitionSeeds();
    settingsSeeds();
    snippetSeeds();
    tableRowSeeds();
    shiftJisSeeds();
    delimitedSeeds();
    macroSeeds();
    markupSeeds();
    textSeeds();
    itemIdSeeds();
    jpegSeeds();
    return 0;
}
