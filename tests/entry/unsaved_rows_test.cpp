#include "core/store/shift_jis.h"
#include "core/store/table_lock.h"
#include "editor_fixture.h"
#include "support/file_size_limit.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>

namespace kelvano::test {
namespace {

const QString SaveQuestion = QStringLiteral("テーブルデータが変更されています。保存しますか？");
const QString DiscardQuestion = QStringLiteral("変更を破棄しますか？");
const QString ChangedOnDisk =
    QStringLiteral("テーブルデータのファイルが、開いた後に変更されています。上書きしますか？");
const QString Unsaveable = QStringLiteral("データが保存出来ません");
const QString CellCut = QStringLiteral("250バイトを超える部分は切り捨てました");

class UnsavedRows : public EditorFixture {
protected:
    /// Types into a cell and leaves the in-place editor, as a user does before reaching for a button.
    void typeInto(int row, int column, const QString& typed) {
        setCurrent(row, column);
        type(typed);
        press(Qt::Key_Escape);
    }
};

TEST_F(UnsavedRows, DiscardAndTheCloseBoxAskOnlyWhenRowsChanged) {
    writeTable({"kept"}, 2);
    const QByteArray stored = m_folder.read(QStringLiteral("price.TBL"));
    open(2);
    QTest::mouseClick(test::button(m_editor, "BitBtn2"), Qt::LeftButton);
    EXPECT_FALSE(m_editor.isVisible());
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << "nothing changed, nothing asked";

    open(2);
    typeInto(0, 1, QStringLiteral("new"));
    m_dialogs.pressEnterNext(); // Enter keeps the rows
    QTest::mouseClick(test::button(m_editor, "BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(m_dialogs.texts(), QStringList{DiscardQuestion});
    EXPECT_EQ(m_dialogs.shown().first().enterAnswers, Answer::No);
    EXPECT_TRUE(m_editor.isVisible());
    EXPECT_EQ(text(0, 1), "new");
    m_dialogs.answerNext(true);
    QTest::mouseClick(test::button(m_editor, "BitBtn2"), Qt::LeftButton);
    EXPECT_FALSE(m_editor.isVisible());
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")), stored);

    // Given up: the next opening asks nothing and shows the stored rows.
    m_dialogs.clear();
    open(2);
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
    EXPECT_EQ(text(0, 1), "");
    typeInto(0, 1, QStringLiteral("gone"));
    m_dialogs.answerNext(true);
    QTest::mouseClick(test::button(m_editor, "BitBtn2"), Qt::LeftButton);
    EXPECT_FALSE(m_editor.isVisible());
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")), stored);
}

TEST_F(UnsavedRows, TheCloseBoxAsksWhatTheEndAsksAndEnterSaves) {
    writeTable({"kept"}, 2);
    const QByteArray stored = m_folder.read(QStringLiteral("price.TBL"));
    open(2);
    typeInto(0, 1, QStringLiteral("new"));
    m_dialogs.answerNext(Answer::Cancel);
    EXPECT_FALSE(m_editor.close());
    EXPECT_TRUE(m_editor.isVisible());
    EXPECT_EQ(m_dialogs.texts(), QStringList{SaveQuestion});
    EXPECT_EQ(m_dialogs.shown().first().enterAnswers, Answer::Yes);
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")), stored);

    m_dialogs.pressEnterNext();
    EXPECT_TRUE(m_editor.close());
    EXPECT_FALSE(m_editor.isVisible());
    const QByteArray saved = m_folder.read(QStringLiteral("price.TBL"));
    EXPECT_EQ(saved.mid(251 * 2, 4), QByteArray("\x03new"));

    // No closes without saving; the rows are given up, so the end asks nothing more.
    open(2);
    typeInto(0, 1, QStringLiteral("gone"));
    m_dialogs.clear();
    m_dialogs.answerNext(Answer::No);
    EXPECT_TRUE(m_editor.close());
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")), saved);
    EXPECT_TRUE(m_editor.mayEnd());
    EXPECT_EQ(m_dialogs.texts(), QStringList{SaveQuestion});
}

TEST_F(UnsavedRows, AFileChangedOnDiskIsOverwrittenOnlyWhenTheUserSays) {
    writeTable({"mine"}, 2);
    open(2);
    typeInto(0, 1, QStringLiteral("typed"));
    // Another program writes the file: other bytes, the same size.
    writeTable({"them"}, 2);
    const QByteArray theirs = m_folder.read(QStringLiteral("price.TBL"));
    m_dialogs.pressEnterNext();
    QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(m_dialogs.texts(), QStringList{ChangedOnDisk});
    EXPECT_EQ(m_dialogs.shown().first().enterAnswers, Answer::No);
    EXPECT_TRUE(m_editor.isVisible());
    EXPECT_TRUE(m_editor.isModified());
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")), theirs);

    m_dialogs.answerNext(Answer::Yes);
    QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton);
    EXPECT_FALSE(m_editor.isVisible());
    const QByteArray saved = m_folder.read(QStringLiteral("price.TBL"));
    EXPECT_EQ(saved.mid(251, 5), QByteArray("\x04mine"));
    EXPECT_EQ(saved.mid(2 * 251, 6), QByteArray("\x05typed"));

    // What the editor wrote itself, or the same bytes written again, asks nothing.
    open(2);
    typeInto(0, 1, QStringLiteral("x"));
    QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton);
    const QByteArray written = m_folder.read(QStringLiteral("price.TBL"));
    open(2);
    typeInto(0, 1, QStringLiteral("y"));
    QFile::remove(m_folder.file(QStringLiteral("price.TBL")));
    m_folder.write(QStringLiteral("price.TBL"), written);
    m_dialogs.clear();
    QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton);
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
    EXPECT_FALSE(m_editor.isVisible());
}

TEST_F(UnsavedRows, OpeningAnotherTableAsksToSaveFirst) {
    writeTable({"a"}, 2, QStringLiteral("first"));
    writeTable({"b"}, 2, QStringLiteral("second"));
    const QByteArray first = m_folder.read(QStringLiteral("first.TBL"));
    const QByteArray second = m_folder.read(QStringLiteral("second.TBL"));
    open(2, "first");
    typeInto(0, 1, QStringLiteral("x"));

    // Cancel: nothing opens and the rows stay.
    m_dialogs.answerNext(Answer::Cancel);
    open(2, "second");
    EXPECT_EQ(m_dialogs.texts(), QStringList{SaveQuestion});
    EXPECT_EQ(m_dialogs.shown().first().message.caption, QStringLiteral("TAVELO"));
    EXPECT_EQ(text(0, 0), "a");
    EXPECT_EQ(text(0, 1), "x");

    // Yes, but the save fails: the table stays open with its rows.
    m_dialogs.clear();
    m_dialogs.answerNext(Answer::Yes);
    {
        const FileSizeLimit limit(1000);
        open(2, "second");
    }
    ASSERT_EQ(m_dialogs.texts().size(), 2);
    EXPECT_TRUE(
        m_dialogs.texts().last().startsWith(Unsaveable + u'\n' + m_folder.file(QStringLiteral("first.TBL"))));
    EXPECT_EQ(text(0, 1), "x");
    EXPECT_EQ(m_folder.read(QStringLiteral("first.TBL")), first);

    // Yes: saved, then the other table opens.
    m_dialogs.answerNext(Answer::Yes);
    open(2, "second");
    EXPECT_EQ(text(0, 0), "b");
    EXPECT_EQ(m_folder.read(QStringLiteral("first.TBL")).mid(2 * 251, 2), QByteArray("\x01x"));

    // No: the edits are given up.
    typeInto(0, 0, QStringLiteral("y"));
    m_dialogs.clear();
    m_dialogs.answerNext(Answer::No);
    open(2, "first");
    EXPECT_EQ(m_dialogs.texts(), QStringList{SaveQuestion});
    EXPECT_EQ(text(0, 1), "x");
    EXPECT_EQ(m_folder.read(QStringLiteral("second.TBL")), second);

    // Rows only looked at, or changed back by a sort that moved nothing, ask nothing.
    m_dialogs.clear();
    trigger("soto1");
    open(2, "second");
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
}

TEST_F(UnsavedRows, AnEndNoOneCanBeAskedAboutSavesTheRowsSilently) {
    writeTable({"a"}, 2);
    const QByteArray stored = m_folder.read(QStringLiteral("price.TBL"));
    open(2);
    EXPECT_TRUE(m_editor.saveUnasked()); // nothing changed: nothing written
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")), stored);

    // A text still being typed is part of what is saved.
    setCurrent(0, 1);
    type(QStringLiteral("typed"));
    {
        const FileSizeLimit limit(1000);
        EXPECT_FALSE(m_editor.saveUnasked());
    }
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")), stored);
    EXPECT_TRUE(m_editor.isModified());
    EXPECT_TRUE(m_editor.saveUnasked());
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")).mid(2 * 251, 6), QByteArray("\x05typed"));
    EXPECT_FALSE(m_editor.isModified());
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
}

TEST_F(UnsavedRows, EnterLeavesTheInPlaceEditorOpen) {
    writeTable({"1", "2"}, 2);
    open(2);
    // In the last column of an earlier row the cell stays current and typing goes on in it.
    setCurrent(0, 1);
    type(QStringLiteral("abc"));
    press(Qt::Key_Return);
    EXPECT_EQ(current(), model().index(0, 1));
    type(QStringLiteral("d"));
    EXPECT_EQ(text(0, 1), "abcd");

    // When the current cell moves, the editor moves with it.
    setCurrent(1, 0);
    type(QStringLiteral("p"));
    press(Qt::Key_Return);
    EXPECT_EQ(current(), model().index(1, 1));
    ASSERT_NE(openEditor(), nullptr);
    type(QStringLiteral("q"));
    EXPECT_EQ(text(1, 0), "p");
    EXPECT_EQ(text(1, 1), "q");
    EXPECT_EQ(m_folder.read(QStringLiteral("price.ALI")), "abc\r\np\r\n");
}

TEST_F(UnsavedRows, CellTextStopsAtWhatACellStores) {
    open(1);
    setCurrent(0, 0);
    type(QStringLiteral("a"));
    QLineEdit* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    // 表 takes two bytes, the second of them 0x5C: the cut falls between characters.
    QApplication::clipboard()->setText(QString(200, QChar(u'表')));
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    const QByteArray fitted = "a" + Hyo.repeated(124);
    EXPECT_EQ(text(0, 0), fitted);
    EXPECT_EQ(m_dialogs.texts(), QStringList{CellCut});

    // One byte is left: "b" fits, "c" does not and is refused without a word.
    type(QStringLiteral("bc"));
    EXPECT_EQ(text(0, 0), fitted + "b");
    EXPECT_EQ(m_dialogs.texts().size(), 1);
    press(Qt::Key_Escape);
    QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton);
    const QByteArray record = m_folder.read(QStringLiteral("price.TBL"));
    EXPECT_EQ(record.mid(251, 251), "\xFA" + fitted + "b");

    // A longer text from the reference list is cut the same way.
    open(1);
    m_dialogs.clear();
    m_editor.SetCurrentCellText("x" + Hyo.repeated(130));
    EXPECT_EQ(text(0, 0), "x" + Hyo.repeated(124));
    EXPECT_EQ(m_dialogs.texts(), QStringList{CellCut});
}

TEST_F(UnsavedRows, ADataFileThatCannotBeReadIsToldAndLeftAsItIs) {
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("price.TBL")));
    open(2);
    EXPECT_EQ(m_dialogs.texts(), QStringList{QStringLiteral("データを読み出せません、新規作成します")});
    EXPECT_TRUE(m_editor.isVisible());
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_TRUE(QFileInfo(m_folder.file(QStringLiteral("price.TBL"))).isDir());
}

TEST_F(UnsavedRows, TheTableKeepsTheFolderItWasOpenedFrom) {
    open(2);
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("later")));
    // The main window's data folder changes while the table is open.
    m_settings.DataFolder = QFile::encodeName(m_folder.file(QStringLiteral("later/")));
    type(QStringLiteral("t"));
    press(Qt::Key_Return);
    trigger("N14");
    ASSERT_TRUE(m_links.isVisible());
    test::edit(m_links, "Edit1")->setText(QStringLiteral("http://x/"));
    QTest::keyClick(test::edit(m_links, "Edit1"), Qt::Key_Return);
    QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(m_folder.read(QStringLiteral("price.ALI")), "t\r\n");
    EXPECT_EQ(m_folder.read(QStringLiteral("price.URL")), "http://x/\r\n");
    EXPECT_EQ(m_folder.read(QStringLiteral("price.TBL")).mid(251, 2), QByteArray("\x01t"));
    EXPECT_TRUE(QDir(m_folder.file(QStringLiteral("later"))).isEmpty());
}

TEST_F(UnsavedRows, AnOpenTableHoldsItsLockUntilItsWindowCloses) {
    const auto takenElsewhere = [this] {
        return TableLock(files()).take();
    };
    // Each way of closing the window lets the table go.
    const std::function<void()> ways[] = {
        [this] { QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton); },
        [this] { QTest::mouseClick(test::button(m_editor, "BitBtn2"), Qt::LeftButton); },
        [this] {
            m_editor.close();
        }};
    for (const std::function<void()>& closeWindow : ways) {
        open(2);
        EXPECT_EQ(takenElsewhere(), TableLock::Taking::HeldElsewhere);
        closeWindow();
        EXPECT_FALSE(m_editor.isVisible());
        EXPECT_EQ(takenElsewhere(), TableLock::Taking::Taken);
    }
    // Opening the table it holds again is no other program's hold.
    open(2);
    open(2);
    EXPECT_TRUE(m_editor.isVisible());
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
    m_editor.close();

    // Held by another program: the table is not opened.
    TableLock other(files());
    ASSERT_EQ(other.take(), TableLock::Taking::Taken);
    open(2);
    EXPECT_FALSE(m_editor.isVisible());
    EXPECT_EQ(m_dialogs.texts(),
              QStringList{QStringLiteral(
                  "テーブル「price」は、ほかのKelvanoで開かれているか、書き換えの途中です。")});
}

} // namespace
} // namespace kelvano::test
