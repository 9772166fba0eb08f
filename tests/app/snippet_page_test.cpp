#include "core/store/shift_jis.h"
#include "core/store/table_definition_file.h"
#include "gui/main/main_window.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

class SnippetPageTest : public testing::Test {
protected:
    SnippetPageTest() : windows(program.path()), form(windows.form1()) {
        test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet5"));
    }

    void registerHeader(const QString& name, const QString& text) {
        test::click(test::button(form, "BitBtn11"));
        test::memo(form, "Memo1")->setPlainText(text);
        test::type(test::edit(form, "Edit9"), name);
        test::click(test::button(form, "BitBtn12"));
    }
    static void focusAndPaste(QLineEdit* edit) {
        test::focus(edit);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
    QStringList choiceItems(const QComboBox* choices) const {
        QStringList items;
        for (int index = 0; index < choices->count(); ++index) {
            items.append(choices->itemText(index));
        }
        return items;
    }

    test::TempFolder program;
    test::DialogRecorder recorder;
    test::WindowSet windows;
    TForm1& form;
};

TEST_F(SnippetPageTest, NumbersAreGivenInOrderAndADeletedNumberIsNeverReusedOrOverwritten) {
    registerHeader(QStringLiteral("A"), QStringLiteral("<HTML>\n<BODY>"));
    registerHeader(QStringLiteral("B"), QStringLiteral("b"));
    registerHeader(QStringLiteral("C"), QStringLiteral("c"));
    EXPECT_EQ(program.read(QStringLiteral("HEAD.0")), QByteArray("<HTML>\r\n<BODY>\r\n"));
    EXPECT_EQ(program.read(QStringLiteral("HEAD.DAT")).size(), 3 * 82);

    test::clickRow(test::listView(form, "ListView3"), 1);
    EXPECT_EQ(test::edit(form, "Edit7")->text(), QStringLiteral("1"));
    EXPECT_EQ(test::memo(form, "Memo1")->toPlainText(), QStringLiteral("b\n"));
    recorder.answerNext(Answer::Yes);
    test::click(test::button(form, "BitBtn13"));
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("「B」を削除しますか？")});
    recorder.clear();
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView3"), 0), test::texts({"0", "2"}));
    EXPECT_EQ(choiceItems(test::comboBox(form, "ComboBox1")), test::texts({"0:A", "2:C"}));
    EXPECT_EQ(test::memo(form, "Memo1")->toPlainText(), QString());
    // The deleted header's body stays for the tables that name it, and the number field no longer
    // points at it, so the next register makes a new header.
    EXPECT_EQ(test::edit(form, "Edit7")->text(), QString());
    EXPECT_EQ(test::edit(form, "Edit9")->text(), QStringLiteral("B"));
    test::memo(form, "Memo1")->setPlainText(QStringLiteral("new"));
    test::click(test::button(form, "BitBtn12"));
    EXPECT_EQ(program.read(QStringLiteral("HEAD.1")), QByteArray("b\r\n"));
    EXPECT_EQ(program.read(QStringLiteral("HEAD.3")), QByteArray("new\r\n"));
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView3"), 0), test::texts({"0", "2", "3"}));
    EXPECT_TRUE(recorder.shown().isEmpty());

    // Header and footer number independently.
    test::memo(form, "Memo1")->setPlainText(QStringLiteral("foot"));
    test::type(test::edit(form, "Edit10"), QStringLiteral("F"));
    test::click(test::button(form, "BitBtn15"));
    EXPECT_EQ(program.read(QStringLiteral("FOOT.0")), QByteArray("foot\r\n"));
    EXPECT_EQ(choiceItems(test::comboBox(form, "ComboBox2")), test::texts({"0:F"}));
}

TEST_F(SnippetPageTest, ChangingABodyKeepsTheRegisteredNameAndLoadedBytes) {
    // A body with a broken double-byte character and a trailing empty line comes back unchanged.
    const QByteArray body = "first\r\n" + test::So + "\x81\r\n\r\n";
    registerHeader(QStringLiteral("Top"), QStringLiteral("x"));
    program.write(QStringLiteral("HEAD.0"), body);
    test::clickRow(test::listView(form, "ListView3"), 0);
    test::edit(form, "Edit9")->setText(QStringLiteral("Renamed"));
    test::click(test::button(form, "BitBtn12"));
    EXPECT_EQ(program.read(QStringLiteral("HEAD.0")), body);
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView3"), 1), test::texts({"Top"}));

    test::memo(form, "Memo1")->setPlainText(QStringLiteral("ソ表"));
    test::click(test::button(form, "BitBtn12"));
    EXPECT_EQ(program.read(QStringLiteral("HEAD.0")), test::So + test::Hyo + "\r\n");
    test::memo(form, "Memo1")->clear();
    test::click(test::button(form, "BitBtn12"));
    EXPECT_EQ(program.read(QStringLiteral("HEAD.0")).size(), 0);
}

TEST_F(SnippetPageTest, EditedBodiesGiveBackExactlyTheirLines) {
    registerHeader(QStringLiteral("Top"), QStringLiteral("x"));
    const auto loadEditAndSave = [this](const QByteArray& body, const QString& appended) {
        program.write(QStringLiteral("HEAD.0"), body);
        test::clickRow(test::listView(form, "ListView3"), 0);
        QTextCursor cursor = test::memo(form, "Memo1")->textCursor();
        cursor.movePosition(QTextCursor::Start);
        test::memo(form, "Memo1")->setTextCursor(cursor);
        test::memo(form, "Memo1")->insertPlainText(appended);
        test::click(test::button(form, "BitBtn12"));
        return program.read(QStringLiteral("HEAD.0"));
    };
    // A last empty line, several of them, a lone empty line and an empty body survive an edit.
    EXPECT_EQ(loadEditAndSave("a\r\nb\r\n\r\n", QStringLiteral("+")), QByteArray("+a\r\nb\r\n\r\n"));
    EXPECT_EQ(loadEditAndSave("a\r\n\r\n\r\n", QStringLiteral("+")), QByteArray("+a\r\n\r\n\r\n"));
    EXPECT_EQ(loadEditAndSave("\r\n", QStringLiteral("+")), QByteArray("+\r\n"));
    EXPECT_EQ(loadEditAndSave("", QStringLiteral("+")), QByteArray("+\r\n"));

    // "新規作成" after loading a body of one empty line starts from nothing: the new header is empty.
    program.write(QStringLiteral("HEAD.0"), "\r\n");
    test::clickRow(test::listView(form, "ListView3"), 0);
    test::click(test::button(form, "BitBtn11"));
    test::type(test::edit(form, "Edit9"), QStringLiteral("Empty"));
    test::click(test::button(form, "BitBtn12"));
    EXPECT_EQ(program.read(QStringLiteral("HEAD.1")), QByteArray());

    // The same after a delete has emptied the text box.
    program.write(QStringLiteral("HEAD.0"), "\r\n");
    test::clickRow(test::listView(form, "ListView3"), 0);
    recorder.answerNext(Answer::Yes);
    test::click(test::button(form, "BitBtn13"));
    test::click(test::button(form, "BitBtn12"));
    EXPECT_EQ(program.read(QStringLiteral("HEAD.2")), QByteArray());
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("「Top」を削除しますか？")});
}

TEST_F(SnippetPageTest, DeletingAsksFirstNamingTheLiveTablesThatUseTheSnippet) {
    registerHeader(QStringLiteral("Top"), QStringLiteral("t"));
    registerHeader(QStringLiteral("Plain"), QStringLiteral("p"));
    registerHeader(QStringLiteral("Spare"), QStringLiteral("s"));
    test::click(test::button(form, "BitBtn14"));
    test::memo(form, "Memo1")->setPlainText(QStringLiteral("f"));
    test::type(test::edit(form, "Edit10"), QStringLiteral("Foot"));
    test::click(test::button(form, "BitBtn15"));
    const TableDefinitionFile definitions(program.path());
    const auto addTable = [&](const QString& title, const QByteArray& header, const QByteArray& footer,
                              bool deleted) {
        TableDefinition definition;
        definition.TableName = test::sjis(title);
        definition.FileName = "t";
        definition.HeaderName = header;
        definition.FooterName = footer;
        const int number = definitions.append(definition);
        if (deleted) {
            definitions.setDeleted(number, true);
        }
    };
    addTable(QStringLiteral("価格表"), "0:Top", "0:Foot", false);
    addTable(QStringLiteral("消した表"), "0:Top", "0:Foot", true);
    addTable(QStringLiteral("別の表"), "1:Plain", "", false);
    addTable(QStringLiteral("時刻表"), "0:Renamed", "", false);
    // "10" and "00" name other body files than header 0's.
    addTable(QStringLiteral("十番"), "10:x", "", false);
    addTable(QStringLiteral("零零"), "00:Top", "", false);
    test::memo(form, "Memo1")->clear();

    test::clickRow(test::listView(form, "ListView3"), 0);
    const QString text = test::memo(form, "Memo1")->toPlainText();
    test::click(test::button(form, "BitBtn13"));
    ASSERT_EQ(recorder.shown().size(), 1);
    EXPECT_TRUE(recorder.shown().first().question);
    EXPECT_EQ(recorder.shown().first().enterAnswers, Answer::No);
    EXPECT_EQ(recorder.texts().first(),
              QStringLiteral("「Top」を削除しますか？\nこのヘッダを使っているテーブル：0 価格表、3 時刻表"));
    // No: nothing is deleted and the text stays.
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView3"), 0), test::texts({"0", "1", "2"}));
    EXPECT_EQ(test::memo(form, "Memo1")->toPlainText(), text);
    EXPECT_EQ(test::edit(form, "Edit7")->text(), QStringLiteral("0"));

    recorder.clear();
    test::clickRow(test::listView(form, "ListView3"), 2);
    test::click(test::button(form, "BitBtn13"));
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("「Spare」を削除しますか？")});

    recorder.clear();
    test::clickRow(test::listView(form, "ListView4"), 0);
    recorder.answerNext(Answer::Yes);
    test::click(test::button(form, "BitBtn16"));
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral(
                                    "「Foot」を削除しますか？\nこのフッタを使っているテーブル：0 価格表")});
    EXPECT_EQ(test::listView(form, "ListView4")->rowCount(), 0);
    EXPECT_EQ(test::memo(form, "Memo1")->toPlainText(), QString());
}

TEST_F(SnippetPageTest, TheListsFollowTheDataFolderSoTheFirstRegisterWorks) {
    // The first day: the folder layout is made, then a header is registered at once.
    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet3"));
    test::click(test::button(form, "Button1"));
    EXPECT_TRUE(program.exists(QStringLiteral("DATA/HEAD.DAT")));
    EXPECT_TRUE(program.exists(QStringLiteral("DATA/FOOT.DAT")));
    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet5"));
    registerHeader(QStringLiteral("First"), QStringLiteral("<html>"));
    EXPECT_TRUE(recorder.shown().isEmpty()) << recorder.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(program.read(QStringLiteral("DATA/HEAD.0")), QByteArray("<html>\r\n"));
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView3"), 1), test::texts({"First"}));

    // Leaving the data field with another folder shows that folder's snippets.
    QDir(program.path()).mkdir(QStringLiteral("other"));
    test::pageControl(form, "PageControl1")->setCurrentWidget(test::tabSheet(form, "TabSheet3"));
    test::focus(test::edit(form, "Edit1"));
    test::edit(form, "Edit1")->setText(program.path() + QStringLiteral("other"));
    test::focus(test::edit(form, "Edit2"));
    EXPECT_EQ(test::listView(form, "ListView3")->rowCount(), 0);
    EXPECT_EQ(test::comboBox(form, "ComboBox1")->count(), 0);
    EXPECT_TRUE(program.exists(QStringLiteral("other/HEAD.DAT")));

    // A folder confirmed in the directory picker does the same.
    form.FolderPicked(FolderTarget::DataFolder, program.path() + QStringLiteral("DATA/"));
    EXPECT_EQ(test::columnTexts(test::listView(form, "ListView3"), 1), test::texts({"First"}));
}

TEST_F(SnippetPageTest, ClickingAFooterAfterAHeaderEmptiesTheHeaderFields) {
    registerHeader(QStringLiteral("H"), QStringLiteral("header text"));
    test::memo(form, "Memo1")->setPlainText(QStringLiteral("footer text"));
    test::type(test::edit(form, "Edit10"), QStringLiteral("F"));
    test::click(test::button(form, "BitBtn15"));

    test::clickRow(test::listView(form, "ListView3"), 0);
    EXPECT_EQ(test::edit(form, "Edit7")->text(), QStringLiteral("0"));
    test::clickRow(test::listView(form, "ListView4"), 0);
    EXPECT_EQ(test::edit(form, "Edit7")->text(), QString());
    EXPECT_EQ(test::edit(form, "Edit9")->text(), QString());
    EXPECT_EQ(test::edit(form, "Edit8")->text(), QStringLiteral("0"));
    EXPECT_EQ(test::edit(form, "Edit10")->text(), QStringLiteral("F"));
    EXPECT_EQ(test::memo(form, "Memo1")->toPlainText(), QStringLiteral("footer text\n"));

    QFile::remove(program.file(QStringLiteral("FOOT.0")));
    test::clickRow(test::listView(form, "ListView4"), 0);
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("フッタデータが読み出せません")});
    EXPECT_EQ(test::memo(form, "Memo1")->toPlainText(), QStringLiteral("footer text\n"));
}

TEST_F(SnippetPageTest, OnlyALeftClickOnARowLoadsItSoUnsavedTextStays) {
    registerHeader(QStringLiteral("A"), QStringLiteral("original"));
    test::clickRow(test::listView(form, "ListView3"), 0);
    ASSERT_EQ(test::memo(form, "Memo1")->toPlainText(), QStringLiteral("original\n"));
    test::memo(form, "Memo1")->setPlainText(QStringLiteral("unsaved edit"));
    QTest::mouseClick(test::listView(form, "ListView3")->viewport(), Qt::LeftButton, {},
                      QPoint(60, 60)); // below the rows
    QTest::mouseClick(test::listView(form, "ListView3")->viewport(), Qt::RightButton, {},
                      test::listView(form, "ListView3")
                          ->visualRect(test::listView(form, "ListView3")->model()->index(0, 1))
                          .center());
    EXPECT_EQ(test::memo(form, "Memo1")->toPlainText(), QStringLiteral("unsaved edit"));
}

TEST_F(SnippetPageTest, RefusalsAndMessages) {
    // An empty list ignores clicks, even for the other side's fields.
    test::edit(form, "Edit10")->setText(QStringLiteral("kept"));
    test::edit(form, "Edit8")->setText(QStringLiteral("5"));
    QTest::mouseClick(test::listView(form, "ListView3")->viewport(), Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(test::edit(form, "Edit8")->text(), QStringLiteral("5"));
    EXPECT_EQ(test::edit(form, "Edit10")->text(), QStringLiteral("kept"));

    test::click(test::button(form, "BitBtn12"));
    test::click(test::button(form, "BitBtn13"));
    test::type(test::edit(form, "Edit9"), QStringLiteral("a:b"));
    test::type(test::edit(form, "Edit10"), QStringLiteral(":"));
    EXPECT_EQ(test::edit(form, "Edit9")->text(), QStringLiteral("ab"));
    EXPECT_EQ(test::edit(form, "Edit10")->text(), QStringLiteral("kept"));
    EXPECT_EQ(recorder.texts(), (QStringList{QStringLiteral("ヘッダ名を入力してください"),
                                             QStringLiteral("削除対象を選択してください"),
                                             QStringLiteral("ヘッダ名に : は使用出来ません"),
                                             QStringLiteral("フッタ名に : は使用出来ません")}));
    for (const auto& shown : recorder.shown()) {
        EXPECT_EQ(shown.message.icon, MessageIcon::Error);
        EXPECT_EQ(shown.message.caption, QStringLiteral("TAVELO"));
    }

    // A pasted ":" is taken as it stands; a character Shift-JIS cannot hold keeps the text from being saved.
    recorder.clear();
    QApplication::clipboard()->setText(QStringLiteral("x:y"));
    test::edit(form, "Edit9")->clear();
    focusAndPaste(test::edit(form, "Edit9"));
    EXPECT_EQ(test::edit(form, "Edit9")->text(), QStringLiteral("x:y"));
    test::memo(form, "Memo1")->setPlainText(QStringLiteral("smile ") + QString::fromUcs4(U"\U0001F600"));
    test::click(test::button(form, "BitBtn12"));
    ASSERT_EQ(recorder.shown().size(), 1);
    EXPECT_TRUE(recorder.texts().first().contains(QString::fromUcs4(U"\U0001F600")));
    EXPECT_EQ(test::listView(form, "ListView3")->rowCount(), 0);
    EXPECT_FALSE(program.exists(QStringLiteral("HEAD.0")));

    // A data folder that does not exist: the lists cannot be loaded and the register cannot save.
    recorder.clear();
    test::edit(form, "Edit1")->setText(program.path() + QStringLiteral("missing/"));
    form.LoadSnippetLists();
    test::memo(form, "Memo1")->setPlainText(QStringLiteral("x"));
    test::click(test::button(form, "BitBtn12"));
    EXPECT_EQ(recorder.texts(), (QStringList{QStringLiteral("ディレクトリ設定を見直してください"),
                                             QStringLiteral("データが異常です、保存出来ません")}));
}

} // namespace
} // namespace kelvano
