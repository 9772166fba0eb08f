#include "app/window_links.h"
#include "editor_fixture.h"
#include "gui/entry/picture_picker.h"
#include "gui/shell/file_view.h"
#include "jpeg_writer.h"

#include <QAction>

namespace kelvano {
namespace {

/// The editor and the picture picker, linked as the program links them.
class PicturePickerLink : public test::EditorFixture {
protected:
    PicturePickerLink() {
        linkWindows({.Form5 = &m_editor, .Form7 = &m_picker});
        m_folder.write(QStringLiteral("sea.jpg"), test::jpegBytes(40, 30, Qt::cyan));
        m_folder.write(QStringLiteral("sky.gif"), "GIF89a");
        m_settings.ImageFolder = QFile::encodeName(m_folder.path() + QStringLiteral("images/"));
        QDir(m_folder.path()).mkdir(QStringLiteral("images"));
        writeTable({"a", "b"}, 3);
        open(3);
        setCurrent(1, 2);
    }

    void choose(const char* name) {
        const QList<QTreeWidgetItem*> found =
            test::control<TFileView>(m_picker, "FileView1")
                ->findItems(QString::fromLatin1(name), Qt::MatchExactly, TFileView::NameColumn);
        ASSERT_EQ(found.size(), 1) << name;
        test::control<TFileView>(m_picker, "FileView1")->setCurrentItem(found.first());
        QTest::mouseClick(test::button(m_picker, "BitBtn1"), Qt::LeftButton);
    }
    QByteArray pathOf(const char* name) const { return QFile::encodeName(m_folder.path()) + name; }

    TForm7 m_picker;
};

TEST_F(PicturePickerLink, PictureItemsAttachTheChosenFileToTheCurrentCell) {
    test::action(m_editor, "N10")->trigger();
    ASSERT_TRUE(m_picker.isVisible());
    EXPECT_EQ(m_picker.PickerMode, PictureUse::LeftOfText);
    EXPECT_EQ(test::edit(m_picker, "Edit1")->text(), QString()) << "the cell has no picture yet";
    choose("sea.jpg");
    EXPECT_FALSE(m_picker.isVisible());
    EXPECT_EQ(value(CellLayer::Picture, 1, 2), pathOf("sea.jpg"));
    EXPECT_EQ(value(CellLayer::Placement, 1, 2), QByteArray("LEFT"));
    EXPECT_TRUE(m_folder.exists(QStringLiteral("images/sea.jpg"))) << "copied into the image folder";

    test::action(m_editor, "N9")->trigger();
    EXPECT_EQ(test::edit(m_picker, "Edit1")->text(), QString::fromLocal8Bit(pathOf("sea.jpg")))
        << "the reference box shows the cell's picture";
    choose("sky.gif");
    EXPECT_EQ(value(CellLayer::Picture, 1, 2), pathOf("sky.gif"));
    EXPECT_EQ(value(CellLayer::Placement, 1, 2), QByteArray("RIGHT"));

    test::action(m_editor, "N16")->trigger();
    EXPECT_EQ(m_picker.PickerMode, PictureUse::Background);
    EXPECT_EQ(test::edit(m_picker, "Edit1")->text(), QString());
    choose("sea.jpg");
    EXPECT_EQ(value(CellLayer::Background, 1, 2), pathOf("sea.jpg"));
    EXPECT_EQ(value(CellLayer::Picture, 1, 2), pathOf("sky.gif")) << "the picture stays";
}

TEST_F(PicturePickerLink, TheCopyGoesToTheImageFolderTheTableWasOpenedWith) {
    // The main window's image folder changes while the table is open.
    QDir(m_folder.path()).mkdir(QStringLiteral("moved"));
    m_settings.ImageFolder = QFile::encodeName(m_folder.path() + QStringLiteral("moved/"));
    test::action(m_editor, "N9")->trigger();
    ASSERT_TRUE(m_picker.isVisible());
    choose("sea.jpg");
    EXPECT_TRUE(m_folder.exists(QStringLiteral("images/sea.jpg")));
    EXPECT_FALSE(m_folder.exists(QStringLiteral("moved/sea.jpg")));
    EXPECT_EQ(value(CellLayer::Picture, 1, 2), pathOf("sea.jpg"));
}

} // namespace
} // namespace kelvano
