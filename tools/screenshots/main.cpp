// kelvano-screenshots OUT_DIR: builds a sample program folder in OUT_DIR/sample, opens every window
// of the program on it as a user would find them, and saves each as a PNG file in OUT_DIR. Run under a
// display (xvfb-run); scripts/screenshots.sh does that and adds a browser's picture of a written page.

#include "app/window_links.h"
#include "core/html/page_generator.h"
#include "core/store/settings_file.h"
#include "core/store/shift_jis.h"
#include "core/store/snippet_store.h"
#include "core/store/table_data_files.h"
#include "core/store/table_definition_file.h"
#include "core/store/table_row_record.h"
#include "gui/base/qt_translation.h"
#include "gui/dialogs/cell_colour_dialog.h"
#include "gui/dialogs/table_settings_dialog.h"
#include "gui/entry/link_list.h"
#include "gui/entry/picture_picker.h"
#include "gui/entry/table_data_editor.h"
#include "gui/entry/table_data_reference.h"
#include "gui/main/help_window.h"
#include "gui/main/main_window.h"
#include "gui/shell/directory_picker.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextStream>
#include <QThread>

using namespace kelvano;

namespace {

QByteArray sjis(const QString& text) {
    return ShiftJis::encode(text).bytes;
}

/// A small photograph-like picture of a fruit for the picture cells and the picker's preview.
void writePicture(const QString& path, QColor colour) {
    QImage picture(120, 90, QImage::Format_RGB32);
    picture.fill(QColor(0xF4, 0xF0, 0xE6));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(60, 48), 32, 30);
    painter.setBrush(QColor(0x3A, 0x8A, 0x2E));
    painter.drawEllipse(QPoint(66, 17), 9, 5);
    painter.end();
    picture.save(path, "JPEG", 90);
}

/// The sample: folder settings laid out as DATA/, HTML/, HTML/GRPH/, a header and a footer, one
/// table of fruit prices with pictures and a link, and its written page.
SettingsRecord writeSample(const QString& program) {
    QDir(program).mkpath(QStringLiteral("DATA"));
    QDir(program).mkpath(QStringLiteral("HTML/GRPH"));
    SettingsRecord settings;
    settings.DataFolder = sjis(program + QStringLiteral("DATA/"));
    settings.HtmlFolder = sjis(program + QStringLiteral("HTML/"));
    settings.ImageFolder = sjis(program + QStringLiteral("HTML/GRPH/"));
    settings.ServerImagePath = "GRPH/";
    SettingsFile::save(program, settings);
    const QString data = program + QStringLiteral("DATA/");
    // The snippet indexes exist once the program has looked at the data folder.
    for (const QString& index : {QStringLiteral("HEAD.DAT"), QStringLiteral("FOOT.DAT")}) {
        QFile(data + index).open(QIODevice::WriteOnly);
    }

    SnippetStore(data, SnippetKind::Header)
        .registerSnippet(sjis(QStringLiteral("標準ヘッダ")),
                         {sjis(QStringLiteral("<HTML><HEAD><META CHARSET=\"Shift_JIS\">")),
                          sjis(QStringLiteral("<TITLE>果物の価格表</TITLE></HEAD><BODY>")),
                          sjis(QStringLiteral("<H1>果物の価格表</H1><P>更新日 <GETNOWDATE></P>"))});
    SnippetStore(data, SnippetKind::Footer)
        .registerSnippet(sjis(QStringLiteral("標準フッタ")),
                         {sjis(QStringLiteral("<P>価格は税込みです。</P></BODY></HTML>"))});

    TableDefinition prices;
    prices.TableName = sjis(QStringLiteral("果物の価格表"));
    prices.FileName = "kudamono";
    prices.HeaderName = sjis(QStringLiteral("0:標準ヘッダ"));
    prices.FooterName = sjis(QStringLiteral("0:標準フッタ"));
    prices.CaptionText = sjis(QStringLiteral("今週の入荷"));
    prices.ColumnCount = 4;
    prices.ColumnBackColours[0] = 0xFFF0E6; // light blue: red in the low byte
    prices.ColumnAlignments[2] = 2;
    TableDefinitionFile(program).append(prices);
    TableDefinition contacts;
    contacts.TableName = sjis(QStringLiteral("店舗一覧"));
    contacts.FileName = "tenpo";
    contacts.HeaderName = prices.HeaderName;
    contacts.FooterName = prices.FooterName;
    contacts.ColumnCount = 3;
    TableDefinitionFile(program).append(contacts);

    const QString images = program + QStringLiteral("HTML/GRPH/");
    writePicture(images + QStringLiteral("ringo.jpg"), QColor(0xC8, 0x1E, 0x2A));
    writePicture(images + QStringLiteral("mikan.jpg"), QColor(0xF0, 0x8C, 0x1E));
    writePicture(images + QStringLiteral("budou.jpg"), QColor(0x6A, 0x2C, 0x8C));
    const QList<QStringList> rows = {
        {QStringLiteral("品名"), QStringLiteral("産地"), QStringLiteral("価格（円）"),
         QStringLiteral("写真")},
        {QStringLiteral("りんご"), QStringLiteral("青森"), QStringLiteral("120"), QString()},
        {QStringLiteral("みかん"), QStringLiteral("愛媛"), QStringLiteral("98"), QString()},
        {QStringLiteral("ぶどう"), QStringLiteral("山梨"), QStringLiteral("450"), QString()},
    };
    const QStringList pictures = {QString(), QStringLiteral("ringo.jpg"), QStringLiteral("mikan.jpg"),
                                  QStringLiteral("budou.jpg")};
    const TableDataFiles files(data, QStringLiteral("kudamono"));
    files.writeRecords(int(rows.size()), [&](int index) {
        TableRow row(4);
        for (int column = 0; column < 4; ++column) {
            row[column].text = sjis(rows[index][column]);
        }
        if (!pictures[index].isEmpty()) {
            row[3].picture = sjis(images + pictures[index]);
        }
        if (index == 1) {
            row[1].link = "https://www.example.jp/aomori/";
        }
        return TableRowRecord::fromRow(row);
    });
    const QList<QStringList> shops = {
        {QStringLiteral("店名"), QStringLiteral("住所"), QStringLiteral("電話")},
        {QStringLiteral("本店"), QStringLiteral("青森市新町1-2-3"), QStringLiteral("017-000-0000")},
        {QStringLiteral("駅前店"), QStringLiteral("青森市柳川1-1-1"), QStringLiteral("017-000-0001")},
    };
    TableDataFiles(data, QStringLiteral("tenpo")).writeRecords(int(shops.size()), [&](int index) {
        TableRow row(3);
        for (int column = 0; column < 3; ++column) {
            row[column].text = sjis(shops[index][column]);
        }
        return TableRowRecord::fromRow(row);
    });
    files.addReference(sjis(QStringLiteral("青森")));
    files.addReference(sjis(QStringLiteral("愛媛")));
    files.addReference(sjis(QStringLiteral("山梨")));
    files.addLink("https://www.example.jp/aomori/");
    files.addLink("https://www.example.jp/ehime/mikan/kakaku/2026/index.html");

    class Quiet : public PageReport {
        void report(const PageMessage&) override {}
    } quiet;
    GeneratePages(settings, program, {0, 1}, quiet);
    return settings;
}

class Shots {
public:
    explicit Shots(const QString& folder) : m_folder(folder) {}

    /// Shows the window, lets it lay out and paint, and saves its picture as NAME.png.
    void take(QWidget* window, const QString& name) {
        window->show();
        window->raise();
        settle();
        window->grab().save(m_folder + name + QStringLiteral(".png"));
        QTextStream(stdout) << m_folder << name << ".png\n";
    }
    static void settle() {
        for (int i = 0; i < 10; ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(20);
        }
    }

private:
    QString m_folder;
};

/// The main window's control named `name`, as its pages build it.
template <typename T> T* mainControl(const QWidget& window, const QString& name) {
    return window.findChild<T*>(name);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvano"));
    installQtTranslation(&application);
    if (argc != 2) {
        QTextStream(stderr) << "usage: kelvano-screenshots OUT_DIR\n";
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/';
    const QString program = out + QStringLiteral("sample/");
    QDir(program).removeRecursively();
    QDir().mkpath(program);
    const SettingsRecord settings = writeSample(program);

    TForm1 form1(program);
    TForm2 form2;
    TForm3 form3;
    TForm4 form4;
    TForm5 form5;
    TForm6 form6;
    TForm7 form7;
    TForm8 form8;
    linkWindows({&form1, &form2, &form3, &form4, &form5, &form6, &form7, &form8});
    Shots shots(out);

    const QStringList pages = {QStringLiteral("main-title"), QStringLiteral("main-data"),
                               QStringLiteral("main-folders"), QStringLiteral("main-tables"),
                               QStringLiteral("main-snippets")};
    for (int page = 0; page < pages.size(); ++page) {
        mainControl<QTabWidget>(form1, QStringLiteral("PageControl1"))->setCurrentIndex(page);
        if (page == 3) {
            // The first table chosen as a user does, with a click on its row.
            form1.show();
            Shots::settle();
            QTableWidget* list = mainControl<QTableWidget>(form1, QStringLiteral("ListView1"));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(0, 1)).center());
        }
        shots.take(&form1, pages[page]);
    }
    mainControl<QPushButton>(form1, QStringLiteral("Button2"))->click();
    shots.take(&form3, QStringLiteral("table-settings"));
    form3.hide();
    mainControl<QPushButton>(form1, QStringLiteral("Button3"))->click();
    shots.take(&form4, QStringLiteral("cell-colours"));
    form4.hide();

    form5.OpenTable(settings, program, "kudamono", 4);
    form5.resize(760, 420);
    shots.take(&form5, QStringLiteral("editor"));
    mainControl<QPushButton>(form5, QStringLiteral("Button2"))->click();
    shots.take(&form5, QStringLiteral("editor-pictures"));
    mainControl<QPushButton>(form5, QStringLiteral("Button3"))->click();
    shots.take(&form5, QStringLiteral("editor-links"));
    mainControl<QPushButton>(form5, QStringLiteral("Button1"))->click();

    const TableDataFiles files(ShiftJis::decode(settings.DataFolder), QStringLiteral("kudamono"));
    form6.OpenAt(files, QPoint(40, 40));
    shots.take(&form6, QStringLiteral("reference-list"));
    form8.Open(files);
    shots.take(&form8, QStringLiteral("link-list"));
    form7.OpenFor(PictureUse::RightOfText, settings, program);
    form7.SelectFolder(ShiftJis::decode(settings.ImageFolder));
    shots.take(&form7, QStringLiteral("picture-picker"));
    form2.Open(program, FolderTarget::DataFolder);
    shots.take(&form2, QStringLiteral("directory-picker"));
    mainControl<QPushButton>(form1, QStringLiteral("BitBtn17"))->click();
    form1.helpWindow()->resize(720, 520);
    shots.take(form1.helpWindow(), QStringLiteral("help"));
    return 0;
}
