#include "editor_fixture.h"

#include <QListWidget>
#include <QMenu>

namespace kelvano::test {
namespace {

using ReferenceRemoval = EditorFixture;

TEST_F(ReferenceRemoval, DeleteRemovesTheEntryFromTheFileAndLeavesTheCellsAlone) {
    m_folder.write(QStringLiteral("price.ALI"), "typo\r\n" + Hyo + "\r\ntypo\r\nkept\r\n");
    writeTable({"typo"}, 1);
    open(1);
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    ASSERT_TRUE(m_reference.isVisible());
    ASSERT_EQ(test::listBox(m_reference, "ListBox1")->count(), 4);

    // A right click on an entry offers the popup instead of closing the window.
    const QRect first = test::listBox(m_reference, "ListBox1")
                            ->visualItemRect(test::listBox(m_reference, "ListBox1")->item(0));
    QTest::mousePress(test::listBox(m_reference, "ListBox1")->viewport(), Qt::RightButton, Qt::NoModifier,
                      first.center());
    EXPECT_TRUE(m_reference.isVisible());
    EXPECT_TRUE(test::popupMenu(m_reference, "PopupMenu1")->isVisible());
    test::popupMenu(m_reference, "PopupMenu1")->hide();
    EXPECT_EQ(test::listBox(m_reference, "ListBox1")->currentRow(), 0);
    test::action(m_reference, "N1")->trigger();
    EXPECT_EQ(m_folder.read(QStringLiteral("price.ALI")), Hyo + "\r\nkept\r\n"); // both lines gone
    EXPECT_EQ(test::listBox(m_reference, "ListBox1")->count(), 2);
    EXPECT_EQ(text(0, 0), "typo");
    EXPECT_TRUE(m_dialogs.texts().isEmpty());

    test::action(m_reference, "N2")->trigger();
    EXPECT_FALSE(m_reference.isVisible());
}

} // namespace
} // namespace kelvano::test
