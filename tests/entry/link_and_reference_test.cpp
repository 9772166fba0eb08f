#include "editor_fixture.h"

#include <QFontMetrics>

#include <QListWidget>

namespace kelvano::test {
namespace {

using LinkListWindow = EditorFixture;
using TableDataReference = EditorFixture;

void doubleClick(QListWidget* list, int row) {
    // A real double click: press and release, then the double click itself.
    const QRect item = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
}

TEST_F(LinkListWindow, ATargetLongerThanACellKeepsIsRefusedNotCut) {
    // One target of 251 bytes in the list file (another program wrote it), typed ones of 250 and 251.
    m_folder.write(QStringLiteral("price.URL"), QByteArray(251, 'b') + "\r\n");
    open(2);
    setCurrent(0, 1);
    trigger("N14");
    doubleClick(test::listBox(m_links, "ListBox1"), 0);
    EXPECT_TRUE(m_links.isVisible());
    EXPECT_EQ(value(CellLayer::Link, 0, 1), "");
    test::edit(m_links, "Edit1")->setText(QString(251, u'a'));
    QTest::keyClick(test::edit(m_links, "Edit1"), Qt::Key_Return);
    EXPECT_TRUE(m_links.isVisible());
    EXPECT_EQ(value(CellLayer::Link, 0, 1), "");
    EXPECT_EQ(m_dialogs.texts(), QStringList(2, Messages::linkTooLong(251)));
    test::edit(m_links, "Edit1")->setText(QString(250, u'a'));
    QTest::keyClick(test::edit(m_links, "Edit1"), Qt::Key_Return);
    EXPECT_FALSE(m_links.isVisible());
    EXPECT_EQ(value(CellLayer::Link, 0, 1), QByteArray(250, 'a'));
}

TEST_F(LinkListWindow, TypedTargetsAreAddedOnceAndSetTheCurrentCell) {
    m_folder.write(QStringLiteral("price.URL"), "http://a/\r\n");
    open(2);
    setCurrent(0, 1);
    trigger("N14");
    ASSERT_TRUE(m_links.isVisible());
    ASSERT_EQ(test::listBox(m_links, "ListBox1")->count(), 1);
    EXPECT_EQ(test::listBox(m_links, "ListBox1")->item(0)->text(), QStringLiteral("http://a/"));

    test::edit(m_links, "Edit1")->setText(QStringLiteral("http://b/"));
    QTest::keyClick(test::edit(m_links, "Edit1"), Qt::Key_Return);
    EXPECT_FALSE(m_links.isVisible());
    EXPECT_EQ(value(CellLayer::Link, 0, 1), "http://b/");
    EXPECT_EQ(m_folder.read(QStringLiteral("price.URL")), "http://a/\r\nhttp://b/\r\n");

    setCurrent(0, 0);
    trigger("N14");
    EXPECT_EQ(test::edit(m_links, "Edit1")->text(), QStringLiteral("http://b/")); // kept between openings
    EXPECT_EQ(test::listBox(m_links, "ListBox1")->count(), 2);
    QTest::keyClick(test::edit(m_links, "Edit1"), Qt::Key_Return);
    EXPECT_EQ(value(CellLayer::Link, 0, 0), "http://b/");
    EXPECT_EQ(m_folder.read(QStringLiteral("price.URL")), "http://a/\r\nhttp://b/\r\n");

    // An empty target removes the cell's link and is listed once.
    trigger("N14");
    test::edit(m_links, "Edit1")->clear();
    QTest::keyClick(test::edit(m_links, "Edit1"), Qt::Key_Return);
    EXPECT_EQ(value(CellLayer::Link, 0, 0), "");
    EXPECT_EQ(m_folder.read(QStringLiteral("price.URL")), "http://a/\r\nhttp://b/\r\n\r\n");
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
}

TEST_F(LinkListWindow, ClicksPickEntriesAndADoubleClickSetsTheLinkWithoutTouchingTheFile) {
    const QByteArray longTarget = "https://www.example.jp/a/very/long/path/to/the/price/list/of/2026.html";
    m_folder.write(QStringLiteral("price.URL"), "first\r\n" + So + "\r\n" + longTarget + "\r\n");
    open(1);
    trigger("N14");
    // Rows as high as the windows' font draws; a long target is readable in its column and whole in
    // its tooltip.
    const QFontMetrics metrics(test::listBox(m_links, "ListBox1")->font());
    EXPECT_EQ(test::listBox(m_links, "ListBox1")->font().pixelSize(), 12);
    EXPECT_GE(test::listBox(m_links, "ListBox1")
                  ->visualItemRect(test::listBox(m_links, "ListBox1")->item(1))
                  .height(),
              metrics.height());
    EXPECT_GT(test::listBox(m_links, "ListBox1")
                  ->visualItemRect(test::listBox(m_links, "ListBox1")->item(2))
                  .width(),
              metrics.horizontalAdvance(QString::fromLatin1(longTarget)));
    EXPECT_EQ(test::listBox(m_links, "ListBox1")->item(2)->toolTip(), QString::fromLatin1(longTarget));
    QTest::mouseClick(test::listBox(m_links, "ListBox1")->viewport(), Qt::LeftButton, Qt::NoModifier,
                      test::listBox(m_links, "ListBox1")
                          ->visualItemRect(test::listBox(m_links, "ListBox1")->item(1))
                          .center());
    EXPECT_EQ(test::edit(m_links, "Edit1")->text(), QStringLiteral("ソ"));
    EXPECT_TRUE(m_links.isVisible());
    doubleClick(test::listBox(m_links, "ListBox1"), 0);
    EXPECT_EQ(test::edit(m_links, "Edit1")->text(), QStringLiteral("first"));
    EXPECT_EQ(value(CellLayer::Link, 0, 0), "first");
    EXPECT_FALSE(m_links.isVisible());
    EXPECT_EQ(m_folder.read(QStringLiteral("price.URL")), "first\r\n" + So + "\r\n" + longTarget + "\r\n");
}

TEST_F(LinkListWindow, RemovingAnEntryRewritesTheListOrWarnsWhenNothingIsChosen) {
    m_folder.write(QStringLiteral("price.URL"), "a\r\nb\r\na\r\n");
    open(1);
    trigger("N14");
    m_dialogs.clear();
    test::edit(m_links, "Edit1")->clear();
    test::action(m_links, "N1")->trigger();
    ASSERT_EQ(m_dialogs.shown().size(), 1);
    EXPECT_EQ(m_dialogs.shown().first().message.text, QStringLiteral("削除対象を選択して下さい"));
    EXPECT_EQ(m_dialogs.shown().first().message.caption, QStringLiteral("警告"));
    EXPECT_EQ(m_dialogs.shown().first().message.icon, MessageIcon::Error);
    EXPECT_EQ(m_folder.read(QStringLiteral("price.URL")), "a\r\nb\r\na\r\n");

    test::edit(m_links, "Edit1")->setText(QStringLiteral("a"));
    test::action(m_links, "N1")->trigger();
    EXPECT_EQ(m_folder.read(QStringLiteral("price.URL")), "b\r\n");
    EXPECT_FALSE(m_folder.exists(QStringLiteral("price.TMP")));
    EXPECT_EQ(test::listBox(m_links, "ListBox1")->count(), 1);
    EXPECT_EQ(test::edit(m_links, "Edit1")->text(), QStringLiteral("a"));
    EXPECT_TRUE(m_links.isVisible());
    test::edit(m_links, "Edit1")->setText(QStringLiteral("zzz"));
    test::action(m_links, "N1")->trigger();
    EXPECT_EQ(m_folder.read(QStringLiteral("price.URL")), "b\r\n");
}

TEST_F(LinkListWindow, AnUnusableListShowsTheMessageAndStaysClosed) {
    QDir(m_folder.path()).mkdir(QStringLiteral("price.URL"));
    open(1);
    m_dialogs.clear();
    trigger("N14");
    EXPECT_FALSE(m_links.isVisible());
    ASSERT_EQ(m_dialogs.shown().size(), 1);
    EXPECT_EQ(m_dialogs.shown().first().message.text, QStringLiteral("ディレクトリ設定を再設定して下さい"));
    EXPECT_EQ(m_dialogs.shown().first().message.icon, MessageIcon::Error);
}

TEST_F(TableDataReference, DoubleClickInTheGridOpensTheListAtThePointerAndItsEntryReplacesTheText) {
    open(2);
    m_editor.move(100, 80);
    setCurrent(0, 0);
    type(QStringLiteral("old"));
    press(Qt::Key_Return);
    m_folder.write(QStringLiteral("price.ALI"), "old\r\n" + Hyo + "\r\n");

    setCurrent(0, 0);
    const QPoint at(30, 20);
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_TRUE(m_reference.isVisible());
    EXPECT_EQ(m_reference.windowTitle(), QStringLiteral("テーブルデータ参照"));
    const QPoint inGrid = grid()->viewport()->mapTo(grid(), at);
    EXPECT_EQ(m_editor.lastMousePosition(), inGrid);
    EXPECT_EQ(m_reference.pos(), m_editor.pos() + inGrid);
    ASSERT_EQ(test::listBox(m_reference, "ListBox1")->count(), 2);
    EXPECT_EQ(test::listBox(m_reference, "ListBox1")->item(1)->text(), QStringLiteral("表"));

    // Opening again refills the list and moves the window.
    m_folder.write(QStringLiteral("price.ALI"), "old\r\n" + Hyo + "\r\nthird\r\n");
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 30));
    EXPECT_EQ(test::listBox(m_reference, "ListBox1")->count(), 3);
    EXPECT_EQ(m_reference.pos(), m_editor.pos() + grid()->viewport()->mapTo(grid(), QPoint(60, 30)));

    doubleClick(test::listBox(m_reference, "ListBox1"), 1);
    EXPECT_FALSE(m_reference.isVisible());
    EXPECT_EQ(text(0, 0), Hyo);
    // Confirming the chosen text does not list it twice.
    setCurrent(0, 0);
    press(Qt::Key_Return);
    EXPECT_EQ(m_folder.read(QStringLiteral("price.ALI")), "old\r\n" + Hyo + "\r\nthird\r\n");
}

TEST_F(TableDataReference, RightButtonClosesWithoutChangesAndAnEmptyListShowsNothing) {
    open(1);
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    ASSERT_TRUE(m_reference.isVisible());
    EXPECT_EQ(test::listBox(m_reference, "ListBox1")->count(), 0);
    QTest::mousePress(test::listBox(m_reference, "ListBox1")->viewport(), Qt::RightButton, Qt::NoModifier,
                      QPoint(5, 5));
    EXPECT_FALSE(m_reference.isVisible());
    EXPECT_EQ(text(0, 0), "");
}

} // namespace
} // namespace kelvano::test
