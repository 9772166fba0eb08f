#include "core/html/page_check.h"
#include "core/store/core_messages.h"
#include "core/store/table_definition_file.h"
#include "core/store/table_row_record.h"
#include "support/temp_folder.h"

#include <QDir>
#include <gtest/gtest.h>

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
    QStringList lines(const QList<int>& numbers, PageEncoding encoding = PageEncoding::ShiftJis) const {
        QStringList out;
        const auto findings = CheckPages(m_settings, m_folder.path(), numbers, encoding);
        for (const PageFinding& finding : findings.value()) {
            out.append(finding.line());
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
                  QStringLiteral("3 Tbad: ") + Messages::CheckPictureMissing.arg(QStringLiteral("A.JPG")),
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

} // namespace
} // namespace kelvano
