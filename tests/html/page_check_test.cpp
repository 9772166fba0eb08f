#include "core/html/page_check.h"
#include "core/html/starter_snippets.h"
#include "core/store/failure_reasons.h"
#include "core/store/shift_jis.h"
#include "core/store/table_definition_file.h"
#include "core/store/table_row_record.h"
#include "support/temp_folder.h"
#include "words/check_words.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace kelvano {
namespace {

using test::sjis;

/// A program and data folder with pages in html/ and pictures in html/grph/.
class PageCheck : public testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(m_folder.file(QStringLiteral("html/grph")));
        m_settings = {sjis(m_folder.path()), sjis(m_folder.path() + QStringLiteral("html/")),
                      sjis(m_folder.path() + QStringLiteral("html/grph/")), "grph/"};
        m_folder.write(QStringLiteral("HEAD.0"), "<meta charset=\"Shift_JIS\">\r\n");
        m_folder.write(QStringLiteral("HEAD.1"), "<body>\r\n");
        m_folder.write(QStringLiteral("HEAD.2"), "<meta charset=euc-jp>\r\n");
        m_folder.write(QStringLiteral("FOOT.0"), "</body>\r\n");
        m_folder.write(QStringLiteral("html/grph/a.jpg"), "jpeg");
        m_folder.write(QStringLiteral("html/ok.html"), "page");
    }

    void add(const QByteArray& fileName, const QByteArray& header, const QByteArray& footer,
             const QList<TableRowRecord>& rows, int columns = 2) const {
        TableDefinition d;
        d.TableName = "T" + fileName;
        d.FileName = fileName;
        d.HeaderName = header;
        d.FooterName = footer;
        d.ColumnCount = quint16(columns);
        TableDefinitionFile(m_folder.path()).append(d);
        QByteArray bytes;
        for (const TableRowRecord& row : rows) {
            bytes += row.encode();
        }
        if (!rows.isEmpty()) {
            m_folder.write(QString::fromLatin1(fileName) + QStringLiteral(".TBL"), bytes);
        }
    }
    QStringList lines(const QList<int>& numbers, PageEncoding encoding = PageEncoding::ShiftJis,
                      PageMarkup markup = PageMarkup::Classic) const {
        QStringList out;
        const auto findings = CheckPages(m_settings, m_folder.path(), numbers, encoding, markup);
        for (const PageFinding& finding : findings.value()) {
            out.append(Messages::findingLine(finding));
        }
        return out;
    }

    test::TempFolder m_folder;
    SettingsRecord m_settings;
};

TEST_F(PageCheck, EveryKindOfProblemIsListedOnceAndASoundTableGivesNone) {
    TableRowRecord sound;
    sound.CellPictures[1] = "C:\\pics\\a.jpg";
    sound.CellLinks[1] = "ok.html";
    sound.CellLinks[2] = "http://example.com/elsewhere.html";
    add("good", "0:top", "0:end", {sound});
    add("none", "top", "9:gone", {});
    add("../x", "1:plain", "0:end", {sound});
    TableRowRecord broken;
    broken.CellPictures[1] = "C:\\pics\\A.JPG"; // another spelling than the file's
    broken.CellBackgrounds[2] = "bg.png";
    broken.CellLinks[1] = "missing.html#top";
    broken.CellLinks[2] = "ok.html";
    broken.CellTexts[4] = "hidden";
    add("bad", "2:euc", "0:end", {broken, broken});

    EXPECT_EQ(lines({0}), QStringList());
    EXPECT_EQ(lines({0}, PageEncoding::Utf8), QStringList()); // the declaration is renamed on the way
    const QString missingTable = m_folder.path() + QStringLiteral("none.TBL");
    EXPECT_EQ(lines({1, 2, 3}),
              (QStringList{
                  QStringLiteral("1 Tnone: ") + Messages::CheckHeaderNotChosen,
                  QStringLiteral("1 Tnone: ") +
                      Messages::CheckFooterBodyMissing.arg(m_folder.path() + QStringLiteral("FOOT.9")),
                  QStringLiteral("1 Tnone: ") + Messages::CheckNoDataFile.arg(missingTable),
                  QStringLiteral("2 T../x: ") + Messages::CheckNoCharset.arg(QStringLiteral("Shift_JIS")),
                  QStringLiteral("2 T../x: ") + Messages::FileNameUnusable,
                  QStringLiteral("3 Tbad: ") +
                      Messages::CheckCharsetOther.arg(QStringLiteral("euc-jp"), QStringLiteral("Shift_JIS")),
                  // Found, but a case-sensitive server would not: the name on disk is told.
                  QStringLiteral("3 Tbad: ") +
                      Messages::CheckNameCaseDiffers.arg(QStringLiteral("A.JPG"), QStringLiteral("a.jpg")),
                  QStringLiteral("3 Tbad: ") +
                      Messages::CheckLocalPageMissing.arg(QStringLiteral("missing.html#top")),
                  QStringLiteral("3 Tbad: ") + Messages::CheckBackgroundMissing.arg(QStringLiteral("bg.png")),
                  QStringLiteral("3 Tbad: ") + Messages::CheckHiddenText.arg(2).arg(QStringLiteral("4")),
              }));
    EXPECT_EQ(lines({0}, PageEncoding::Utf8), QStringList());

    // The server path must lead from the HTML folder to the image folder inside it.
    m_settings.ServerImagePath = "pictures";
    EXPECT_EQ(lines({0}), QStringList{QStringLiteral("0 Tgood: ") +
                                      Messages::CheckServerImagePath.arg(QStringLiteral("pictures"),
                                                                         QStringLiteral("grph/"))});
    m_settings.ServerImagePath = "./grph";
    EXPECT_EQ(lines({0}), QStringList());
    m_settings.ServerImagePath = "/site/grph/"; // from the site's root: not judged
    EXPECT_EQ(lines({0}), QStringList());

    QFile::remove(m_folder.file(QStringLiteral("TABLE.DAT")));
    EXPECT_FALSE(CheckPages(m_settings, m_folder.path(), {0}, PageEncoding::ShiftJis));
}

TEST_F(PageCheck, NamesFromWindowsAreToldWithTheFileOnDisk) {
    // A picture whose name kept its Shift-JIS bytes, one in two spellings, a data file in two, and
    // paths and links that use "\\" as separator.
    const QByteArray ringo = sjis(QStringLiteral("りんご.jpg"));
    test::writeRawName(m_folder.file(QStringLiteral("html/grph/")), ringo);
    m_folder.write(QStringLiteral("html/grph/B.gif"), "gif");
    m_folder.write(QStringLiteral("html/grph/b.GIF"), "gif");
    TableRowRecord row;
    row.CellPictures[1] = "C:\\pics\\" + ringo;
    row.CellBackgrounds[1] = "b.gif";
    row.CellPictures[2] = "sub\\a.jpg";
    row.CellLinks[2] = "sub\\ok.html";
    add("two", "0:top", "0:end", {row});
    m_folder.write(QStringLiteral("TWO.TBL"), row.encode());
    // A Shift-JIS 0x5C second byte is no separator.
    TableRowRecord trap;
    trap.CellPictures[1] = test::So + ".jpg";
    m_folder.write(QStringLiteral("html/grph/") + ShiftJis::decode(test::So) + QStringLiteral(".jpg"), "j");
    add("trap", "0:top", "0:end", {trap});

    const QString two = QStringLiteral("0 Ttwo: ");
    EXPECT_EQ(lines({0}),
              (QStringList{
                  // The stored spelling wins over the one copied beside it.
                  two + Messages::CheckNameAmbiguous.arg(QStringLiteral("two.TBL"),
                                                         QStringLiteral("two.TBL、TWO.TBL"),
                                                         QStringLiteral("two.TBL")),
                  two + Messages::CheckNameInShiftJis.arg(QStringLiteral("りんご.jpg")),
                  two + Messages::CheckNameCaseDiffers.arg(QStringLiteral("b.gif"), QStringLiteral("B.gif")),
                  two + Messages::CheckNameAmbiguous.arg(
                            QStringLiteral("b.gif"), QStringLiteral("B.gif、b.GIF"), QStringLiteral("B.gif")),
                  two + Messages::CheckBackslashInPath.arg(QStringLiteral("sub\\a.jpg")),
                  two + Messages::CheckBackslashInPath.arg(QStringLiteral("sub\\ok.html")),
                  two + Messages::CheckLocalPageMissing.arg(QStringLiteral("sub\\ok.html")),
              }));
    EXPECT_EQ(lines({1}), QStringList());
}

TEST_F(PageCheck, Html5MarkupListsWhatTidyFindsInTheHeaderAndFooter) {
    if (QStandardPaths::findExecutable(QStringLiteral("tidy")).isEmpty()) {
        GTEST_SKIP() << "tidy is not installed: headers and footers are not checked";
    }
    QByteArray header;
    for (const QString& line : starterSnippet(SnippetKind::Header, PageEncoding::ShiftJis)) {
        header += sjis(line) + "\r\n";
    }
    m_folder.write(QStringLiteral("HEAD.3"), header);
    m_folder.write(QStringLiteral("HEAD.4"), header + "<center>old</center>\r\n");
    m_folder.write(QStringLiteral("FOOT.3"), "<img src=\"a.jpg\">\r\n</main>\r\n</body>\r\n</html>\r\n");
    m_folder.write(QStringLiteral("FOOT.4"), "</main>\r\n</body>\r\n</html>\r\n");
    add("good", "3:template", "4:end", {TableRowRecord{}});
    add("bad", "4:old", "3:picture", {TableRowRecord{}});

    EXPECT_EQ(lines({0, 1}), QStringList());
    EXPECT_EQ(lines({0}, PageEncoding::Utf8, PageMarkup::Html5), QStringList());
    const QStringList found = lines({1}, PageEncoding::ShiftJis, PageMarkup::Html5);
    ASSERT_EQ(found.size(), 2) << found.join(u'\n').toStdString();
    // The places are the lines of the header and of the footer, and tidy's words follow.
    EXPECT_TRUE(
        found[0].startsWith(QStringLiteral("1 Tbad: ") + Messages::CheckHeaderMarkup.arg(13).arg(QString())))
        << found[0].toStdString();
    EXPECT_TRUE(found[0].contains(QStringLiteral("<center>"))) << found[0].toStdString();
    EXPECT_TRUE(
        found[1].startsWith(QStringLiteral("1 Tbad: ") + Messages::CheckFooterMarkup.arg(1).arg(QString())))
        << found[1].toStdString();
    EXPECT_TRUE(found[1].contains(QStringLiteral("alt"))) << found[1].toStdString();
}

// The server image path is judged once and the verdict holds for every later table with pictures:
// a right path gives no finding for the second table either, a wrong one a finding for each.
TEST_F(PageCheck, TheServerImagePathVerdictHoldsForEveryTableWithPictures) {
    TableRowRecord row;
    row.CellPictures[1] = "a.jpg";
    add("p0", "0:top", "0:end", {row}, 1);
    add("p1", "0:top", "0:end", {row}, 1);
    EXPECT_EQ(lines({0, 1}), QStringList());
    m_settings.ServerImagePath = "img/";
    const QString wrong = Messages::CheckServerImagePath.arg(QStringLiteral("img/"), QStringLiteral("grph/"));
    EXPECT_EQ(lines({0, 1}),
              (QStringList{QStringLiteral("0 Tp0: ") + wrong, QStringLiteral("1 Tp1: ") + wrong}));
}

// Text in the first column past the table's columns is hidden text; text in its last column is not.
TEST_F(PageCheck, HiddenTextStartsRightAfterTheLastColumn) {
    int number = 0;
    for (const int columns : {1, 2, TableRowRecord::MaxColumns - 1}) {
        TableRowRecord row;
        row.CellTexts[std::size_t(columns)] = "shown";
        row.CellTexts[std::size_t(columns + 1)] = "hidden";
        add("h" + QByteArray::number(number++), "0:top", "0:end", {row}, columns);
    }
    TableRowRecord full;
    full.CellTexts[TableRowRecord::MaxColumns] = "shown";
    add("h3", "0:top", "0:end", {full}, TableRowRecord::MaxColumns);
    EXPECT_EQ(lines({0, 1, 2, 3}),
              (QStringList{
                  QStringLiteral("0 Th0: ") + Messages::CheckHiddenText.arg(1).arg(QStringLiteral("2")),
                  QStringLiteral("1 Th1: ") + Messages::CheckHiddenText.arg(2).arg(QStringLiteral("3")),
                  QStringLiteral("2 Th2: ") + Messages::CheckHiddenText.arg(49).arg(QStringLiteral("50"))}));
}

TEST_F(PageCheck, LinksToPagesOfTheSameRunAreThereAndWidePixelTablesAreToldForPhones) {
    TableRowRecord row;
    row.CellLinks[1] = "next.html#top";
    row.CellLinks[2] = "./self.html";
    add("self", "0:top", "0:end", {row});
    add("next", "0:top", "0:end", {TableRowRecord{}});
    // Alone, the first table's link to the second's page is missing; checked together it is not, and a
    // table's link to its own page never is.
    EXPECT_EQ(lines({0}), QStringList{QStringLiteral("0 Tself: ") +
                                      Messages::CheckLocalPageMissing.arg(QStringLiteral("next.html#top"))});
    EXPECT_EQ(lines({0, 1}), QStringList());

    for (const QByteArray& width :
         {QByteArray("360"), QByteArray("361"), QByteArray("100%"), QByteArray("1000")}) {
        for (const bool scroll : {false, true}) {
            TableDefinition d = *TableDefinitionFile(m_folder.path()).read(1);
            d.TableWidth = width;
            d.ScrollOnSmallScreens = scroll;
            TableDefinitionFile(m_folder.path()).write(1, d);
            const bool told = !scroll && (width == "361" || width == "1000");
            EXPECT_EQ(lines({1}), told ? QStringList{QStringLiteral("1 Tnext: ") +
                                                     Messages::CheckWideForPhones.arg(width.toInt())}
                                       : QStringList())
                << width.toStdString() << " scroll " << scroll;
        }
    }
}

} // namespace
} // namespace kelvano
