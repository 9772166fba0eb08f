#include "core/store/settings_record.h"
#include "core/store/table_definition.h"
#include "core/table/sheet_failure.h"
#include "publish_runner.h"
#include "support/temp_folder.h"
#include "words/table_words.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

/// kelvano-publish's spreadsheet commands on a program folder holding one 3-column table "t" (number 0).
class PublishSheet : public testing::Test {
protected:
    PublishSheet() { test::writeOneTableFolder(m_folder, 3); }

    test::PublishResult run(QStringList arguments) const {
        QProcess process;
        test::startPublish(process,
                           QStringList{QStringLiteral("--program-folder"), m_folder.path()} + arguments);
        return test::finishPublish(process);
    }

    /// The table's texts as kelvano-publish exports them (UTF-8 CSV without its byte-order mark).
    QByteArray table() const {
        const test::PublishResult exported =
            run({QStringLiteral("--export-csv"), QStringLiteral("0"), QStringLiteral("-")});
        EXPECT_EQ(exported.status, 0);
        return exported.out.mid(3);
    }

    static QString sheet(const char* name) {
        return QStringLiteral(KELVANO_SHEETS_DIR "/") + QString::fromUtf8(name);
    }

    test::TempFolder m_folder;
};

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

TEST_F(PublishSheet, ASheetReplacesOrFollowsTheRowsUnderTheCsvImportsRules) {
    const test::PublishResult imported =
        run({QStringLiteral("--import-sheet"), QStringLiteral("0"), sheet("values.xlsx")});
    EXPECT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.out,
              utf8(QStringLiteral("テーブル 0「t」: 8行を読み込みました: %1t.TBL\n").arg(m_folder.path())));
    EXPECT_EQ(
        imported.err.toStdString(),
        utf8(QStringLiteral("テーブル 0「t」: テーブルの列数 (3) を超える18個の値は読み込みませんでした\n"))
            .toStdString());
    EXPECT_EQ(table(),
              "品名,単価,率\r\nりんご,\"1,234,567.89\",12.5%\r\n0.3,\"-1,235\",7%\r\n結合,,\r\n,,\r\n"
              "隠れた行,,\r\n,,\r\n,,\r\n");

    const test::PublishResult appended =
        run({QStringLiteral("--import-sheet"), QStringLiteral("0"), sheet("values.ods"),
             QStringLiteral("--sheet"), QStringLiteral("2"), QStringLiteral("--append")});
    EXPECT_EQ(appended.status, 0) << appended.err.toStdString();
    EXPECT_TRUE(table().endsWith(",,\r\n二枚目,,\r\n"));

    const test::PublishResult listed = run({QStringLiteral("--list-sheets"), sheet("values.xlsx")});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, "1 価格表\n2 3\n3 空\n");
}

TEST_F(PublishSheet, RefusedSheetsChangeNothingAndEndWithOne) {
    run({QStringLiteral("--import-sheet"), QStringLiteral("0"), sheet("values.ods"),
         QStringLiteral("--sheet"), QStringLiteral("2")});
    const QByteArray before = m_folder.read(QStringLiteral("t.TBL"));
    ASSERT_FALSE(before.isEmpty());
    const QString refused = Messages::SheetImportRefused + u'\n';
    const std::pair<QStringList, QString> cases[] = {
        {{sheet("emoji.xlsx")},
         QStringLiteral("次のセルには Shift-JIS で保存出来ない文字 (😀) があります: 行2 列2\n") + refused},
        {{sheet("values.xlsx"), QStringLiteral("--sheet"), QStringLiteral("9")},
         QStringLiteral("シート「9」はありません\n") + refused},
        {{sheet("values.xlsx"), QStringLiteral("--sheet"), QStringLiteral("空")},
         QStringLiteral("シートが空です\n") + refused},
        {{sheet("truncated.xlsx")}, Messages::sheetFailureText(SheetFailure::Damaged, {}) + u'\n' + refused},
        {{sheet("bomb.xlsx")}, Messages::sheetFailureText(SheetFailure::TooLarge, {}) + u'\n' + refused},
        {{sheet("locked.xlsx")}, Messages::sheetFailureText(SheetFailure::Encrypted, {}) + u'\n' + refused},
    };
    for (const auto& [arguments, told] : cases) {
        const test::PublishResult result =
            run(QStringList{QStringLiteral("--import-sheet"), QStringLiteral("0")} + arguments);
        EXPECT_EQ(result.status, 1) << arguments.join(u' ').toStdString();
        EXPECT_EQ(result.err, utf8(told));
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(m_folder.read(QStringLiteral("t.TBL")), before);
    }
    // An empty sheet appends nothing, as an empty CSV file does.
    EXPECT_EQ(run({QStringLiteral("--import-sheet"), QStringLiteral("0"), sheet("values.xlsx"),
                   QStringLiteral("--sheet"), QStringLiteral("空"), QStringLiteral("--append")})
                  .status,
              0);
    EXPECT_EQ(m_folder.read(QStringLiteral("t.TBL")), before);

    for (const QStringList& arguments :
         QList<QStringList>{{QStringLiteral("--import-csv"), QStringLiteral("0"), sheet("values.xlsx"),
                             QStringLiteral("--sheet"), QStringLiteral("1")},
                            {QStringLiteral("--list-sheets")},
                            {QStringLiteral("--list-sheets"), sheet("values.xlsx"), sheet("values.ods")},
                            {QStringLiteral("--import-sheet"), QStringLiteral("0")},
                            {QStringLiteral("--import-sheet"), QStringLiteral("0"), sheet("values.xlsx"),
                             QStringLiteral("--list-sheets")}}) {
        EXPECT_EQ(run(arguments).status, 2) << arguments.join(u' ').toStdString();
    }
    EXPECT_EQ(m_folder.read(QStringLiteral("t.TBL")), before);
}

} // namespace
} // namespace kelvano
