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

/// Each table "t<number>" of `columns` columns holds the one row given; pictures are in html/grph/.
class PageCheckEdges : public testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(m_folder.file(QStringLiteral("html/grph")));
        m_settings = {sjis(m_folder.path()), sjis(m_folder.path() + QStringLiteral("html/")),
                      sjis(m_folder.path() + QStringLiteral("html/grph/")), "grph/"};
        m_folder.write(QStringLiteral("HEAD.0"), "<meta charset=\"Shift_JIS\">\r\n");
        m_folder.write(QStringLiteral("FOOT.0"), "</body>\r\n");
        m_folder.write(QStringLiteral("html/grph/a.jpg"), "jpeg");
    }
    void add(int columns, const TableRowRecord& row) {
        TableDefinition d;
        d.FileName = "t" + QByteArray::number(m_tables);
        d.TableName = d.FileName;
        d.HeaderName = "0:top";
        d.FooterName = "0:top";
        d.ColumnCount = quint16(columns);
        TableDefinitionFile(m_folder.path()).append(d);
        m_folder.write(QString::fromLatin1(d.FileName) + QStringLiteral(".TBL"), row.encode());
        ++m_tables;
    }
    QStringList texts() const {
        QList<int> numbers;
        for (int i = 0; i < m_tables; ++i) {
            numbers.append(i);
        }
        const std::optional<QList<PageFinding>> findings =
            CheckPages(m_settings, m_folder.path(), numbers, PageEncoding::ShiftJis);
        QStringList out;
        for (const PageFinding& finding : findings.value()) {
            out.append(finding.text);
        }
        return out;
    }

    test::TempFolder m_folder;
    SettingsRecord m_settings;
    int m_tables = 0;
};

// The server image path is judged once and the verdict holds for every later table with pictures:
// a right path gives no finding for the second table either, a wrong one a finding for each.
TEST_F(PageCheckEdges, TheServerImagePathVerdictHoldsForEveryTableWithPictures) {
    TableRowRecord row;
    row.CellPictures[1] = "a.jpg";
    add(1, row);
    add(1, row);
    EXPECT_EQ(texts(), QStringList());
    m_settings.ServerImagePath = "img/";
    const QString wrong = Messages::CheckServerImagePath.arg(QStringLiteral("img/"), QStringLiteral("grph/"));
    EXPECT_EQ(texts(), (QStringList{wrong, wrong}));
}

// Text in the first column past the table's columns is hidden text; text in its last column is not.
TEST_F(PageCheckEdges, HiddenTextStartsRightAfterTheLastColumn) {
    for (const int columns : {1, 2, TableRowRecord::MaxColumns - 1}) {
        TableRowRecord row;
        row.CellTexts[std::size_t(columns)] = "shown";
        row.CellTexts[std::size_t(columns + 1)] = "hidden";
        add(columns, row);
    }
    TableRowRecord full;
    full.CellTexts[TableRowRecord::MaxColumns] = "shown";
    add(TableRowRecord::MaxColumns, full);
    EXPECT_EQ(texts(), (QStringList{Messages::CheckHiddenText.arg(1).arg(QStringLiteral("2")),
                                    Messages::CheckHiddenText.arg(2).arg(QStringLiteral("3")),
                                    Messages::CheckHiddenText.arg(49).arg(QStringLiteral("50"))}));
}

} // namespace
} // namespace kelvano
