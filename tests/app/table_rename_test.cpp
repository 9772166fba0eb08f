#include "core/store/shift_jis.h"
#include "core/store/table_data_files.h"
#include "core/store/table_definition_file.h"
#include "core/store/table_lock.h"
#include "gui/main/main_window.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::sjis;

/// Registered tables whose data files lie in the data folder (the program folder, as on a first run),
/// renamed the way a user does: the row, a new file name, "登録・変更".
class TableRenameTest : public testing::Test {
protected:
    TableRenameTest() : windows(program.path()), form(windows.form1()) {}

    void registerTable(const QString& title, const QString& fileName) {
        test::click(test::button(form, "BitBtn3"));
        test::type(test::edit(form, "Edit4"), title);
        test::type(test::edit(form, "Edit5"), fileName);
        test::click(test::button(form, "BitBtn4"));
    }
    void giveFileName(int row, const QString& fileName, Answer answer) {
        test::clickRow(test::listView(form, "ListView1"), row);
        test::edit(form, "Edit5")->selectAll();
        test::type(test::edit(form, "Edit5"), fileName);
        recorder.answerNext(answer);
        test::click(test::button(form, "BitBtn4"));
    }
    QByteArray storedFileName(int number) const {
        return TableDefinitionFile(program.path()).read(number)->FileName;
    }
    /// The entries of the program folder, in byte order.
    QStringList files() const {
        QStringList names = QDir(program.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        names.sort(Qt::CaseSensitive);
        return names;
    }
    /// The program's own files and `more`, in byte order.
    QStringList filesWith(const QStringList& more) const {
        QStringList names = QStringList{QStringLiteral("FOOT.DAT"), QStringLiteral("HEAD.DAT"),
                                        QStringLiteral("TABLE.DAT"), QStringLiteral("TAVELO.DAT")} +
                            more;
        names.sort(Qt::CaseSensitive);
        return names;
    }
    /// The price table's three files, each with contents of its own.
    void writePriceFiles() const {
        program.write(QStringLiteral("price.TBL"), QByteArray(51306, 'r'));
        program.write(QStringLiteral("price.ALI"), "apple\r\n");
        program.write(QStringLiteral("price.URL"), "http://example.org/\r\n");
    }
    QStringList priceFiles() const {
        return {QStringLiteral("price.ALI"), QStringLiteral("price.TBL"), QStringLiteral("price.URL")};
    }

    test::TempFolder program;
    test::DialogRecorder recorder;
    test::WindowSet windows;
    TForm1& form;
};

TEST_F(TableRenameTest, YesGivesTheDataFilesTheNewNameAndTellsOfThePageLeftBehind) {
    registerTable(QStringLiteral("価格表"), QStringLiteral("price"));
    registerTable(QStringLiteral("時刻表"), QStringLiteral("time"));
    writePriceFiles();
    program.write(QStringLiteral("price.html"), "<html>");

    giveFileName(0, QStringLiteral("goods"), Answer::Yes);
    ASSERT_EQ(recorder.shown().size(), 2);
    EXPECT_TRUE(recorder.shown().at(0).question);
    EXPECT_EQ(recorder.shown().at(0).message.text,
              QStringLiteral("データファイルの名前も「goods」に変更しますか？"));
    EXPECT_EQ(recorder.shown().at(0).enterAnswers, Answer::Yes);
    EXPECT_EQ(
        recorder.shown().at(1).message.text,
        QStringLiteral(
            "データファイルの名前を「goods」に変更しました。\n以前の名前のページはそのまま残っています：\n") +
            program.file(QStringLiteral("price.html")));
    EXPECT_EQ(storedFileName(0), "goods");
    EXPECT_EQ(program.read(QStringLiteral("goods.TBL")), QByteArray(51306, 'r'));
    EXPECT_EQ(program.read(QStringLiteral("goods.ALI")), "apple\r\n");
    EXPECT_EQ(program.read(QStringLiteral("goods.URL")), "http://example.org/\r\n");
    // The lock taken for the rename is gone with it; the old page stays.
    const QStringList renamed = {QStringLiteral("goods.ALI"), QStringLiteral("goods.TBL"),
                                 QStringLiteral("goods.URL"), QStringLiteral("price.html")};
    EXPECT_EQ(files(), filesWith(renamed));

    // A name that differs only in case finds its own files, not files in its way.
    recorder.clear();
    giveFileName(0, QStringLiteral("Goods"), Answer::Yes);
    EXPECT_EQ(storedFileName(0), "Goods");
    EXPECT_TRUE(program.exists(QStringLiteral("Goods.TBL")));
    EXPECT_FALSE(program.exists(QStringLiteral("goods.TBL")));
    EXPECT_EQ(recorder.texts().last(), QStringLiteral("データファイルの名前を「Goods」に変更しました。"));

    // Without a reference list, and with an extension in another case, which keeps its spelling.
    recorder.clear();
    program.write(QStringLiteral("time.tbl"), "t");
    program.write(QStringLiteral("time.URL"), "u");
    giveFileName(1, QStringLiteral("hours"), Answer::Yes);
    EXPECT_EQ(storedFileName(1), "hours");
    EXPECT_EQ(program.read(QStringLiteral("hours.tbl")), "t");
    EXPECT_EQ(program.read(QStringLiteral("hours.URL")), "u");
    EXPECT_FALSE(program.exists(QStringLiteral("time.tbl")));
    EXPECT_FALSE(program.exists(QStringLiteral("hours.ALI")));
    EXPECT_EQ(recorder.texts().last(), QStringLiteral("データファイルの名前を「hours」に変更しました。"));
}

TEST_F(TableRenameTest, NoRegistersAloneAndCancelRegistersNothing) {
    registerTable(QStringLiteral("価格表"), QStringLiteral("price"));
    writePriceFiles();
    const QByteArray definitions = program.read(QStringLiteral("TABLE.DAT"));

    giveFileName(0, QStringLiteral("goods"), Answer::Cancel);
    EXPECT_EQ(program.read(QStringLiteral("TABLE.DAT")), definitions);
    EXPECT_EQ(files(), filesWith(priceFiles()));
    EXPECT_EQ(recorder.shown().size(), 1);

    giveFileName(0, QStringLiteral("goods"), Answer::No);
    EXPECT_EQ(storedFileName(0), "goods");
    EXPECT_EQ(files(), filesWith(priceFiles()));
    EXPECT_EQ(recorder.shown().size(), 2);

    // No data files under the name: no question.
    test::clickRow(test::listView(form, "ListView1"), 0);
    test::edit(form, "Edit5")->selectAll();
    test::type(test::edit(form, "Edit5"), QStringLiteral("other"));
    test::click(test::button(form, "BitBtn4"));
    EXPECT_EQ(storedFileName(0), "other");
    EXPECT_EQ(recorder.shown().size(), 2);
}

TEST_F(TableRenameTest, ARenameThatCannotBeDoneLeavesFilesAndDefinitionAsTheyWere) {
    registerTable(QStringLiteral("価格表"), QStringLiteral("price"));
    writePriceFiles();
    const QByteArray definitions = program.read(QStringLiteral("TABLE.DAT"));
    const auto expectUntouched = [&] {
        EXPECT_EQ(program.read(QStringLiteral("TABLE.DAT")), definitions);
        EXPECT_EQ(program.read(QStringLiteral("price.TBL")), QByteArray(51306, 'r'));
        EXPECT_EQ(program.read(QStringLiteral("price.ALI")), "apple\r\n");
        EXPECT_EQ(program.read(QStringLiteral("price.URL")), "http://example.org/\r\n");
    };

    // A data file under the new name, in another case, is never replaced, even the last of the three.
    program.write(QStringLiteral("GOODS.url"), "theirs");
    giveFileName(0, QStringLiteral("goods"), Answer::Yes);
    EXPECT_EQ(recorder.texts().last(), QStringLiteral("新しい名前のデータファイルが既にあります：\n") +
                                           program.file(QStringLiteral("GOODS.url")) +
                                           QStringLiteral("\n上書きしないよう、登録を取りやめました。"));
    expectUntouched();
    EXPECT_EQ(program.read(QStringLiteral("GOODS.url")), "theirs");
    EXPECT_EQ(files(), filesWith(priceFiles() + QStringList{QStringLiteral("GOODS.url")}));
    QFile::remove(program.file(QStringLiteral("GOODS.url")));

    // A folder under the reference list's new name: the table's rows were renamed first and go back.
    QDir(program.path()).mkdir(QStringLiteral("goods.ALI"));
    giveFileName(0, QStringLiteral("goods"), Answer::Yes);
    EXPECT_EQ(recorder.shown().last().message.icon, MessageIcon::Error);
    EXPECT_EQ(
        recorder.texts().last(),
        QStringLiteral("データファイルの名前を変更できませんでした。登録は行っていません。\n") +
            program.file(QStringLiteral("price.ALI")) + QStringLiteral("\n→ ") +
            program.file(QStringLiteral("goods.ALI")) +
            QStringLiteral("\n同じ名前のファイルまたはフォルダが既にあります\n元の名前に戻したファイル：\n") +
            program.file(QStringLiteral("price.TBL")));
    expectUntouched();
    EXPECT_EQ(files(), filesWith(priceFiles() + QStringList{QStringLiteral("goods.ALI")}));
    QDir(program.path()).rmdir(QStringLiteral("goods.ALI"));

    // The table open in the editor (its lock held, here or by another program).
    TableLock editor(TableDataFiles(program.path(), QStringLiteral("price")));
    ASSERT_EQ(editor.take(), TableLock::Taking::Taken);
    giveFileName(0, QStringLiteral("goods"), Answer::Yes);
    EXPECT_EQ(
        recorder.texts().last(),
        QStringLiteral(
            "テーブル "
            "0「価格表」はテーブルデータ入力で開かれているため、データファイルの名前を変更できません。\n"
            "入力を閉じてから、もう一度登録してください。"));
    expectUntouched();
    editor.release();
    EXPECT_EQ(files(), filesWith(priceFiles()));
}

} // namespace
} // namespace kelvano
