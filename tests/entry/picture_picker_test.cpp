#include "core/store/shift_jis.h"
#include "gui/entry/picture_picker.h"
#include "gui/entry/preview_area.h"
#include "gui/shell/file_system_namespace.h"
#include "gui/shell/file_view.h"
#include "gui/shell/folder_view.h"
#include "gui/shell/shell_module.h"
#include "jpeg_writer.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using namespace Qt::Literals::StringLiterals;

/// A picker opened on a folder of pictures, with an image folder to copy into:
///   pictures/ wide.jpg (400 x 120) tall.jpeg (100 x 300) PHOTO.Jpg anim.gif bad.jpg notes.txt
///   images/
class PicturePickerTest : public ::testing::Test {
protected:
    PicturePickerTest() {
        QDir(folder.path()).mkpath(QStringLiteral("pictures"));
        QDir(folder.path()).mkpath(QStringLiteral("images"));
        folder.write(QStringLiteral("pictures/wide.jpg"), test::jpegBytes(400, 120, QColor(200, 30, 40)));
        folder.write(QStringLiteral("pictures/tall.jpeg"), test::jpegBytes(100, 300, QColor(20, 200, 40)));
        folder.write(QStringLiteral("pictures/PHOTO.Jpg"), test::jpegBytes(50, 50, Qt::blue));
        folder.write(QStringLiteral("pictures/anim.gif"), "GIF89a");
        folder.write(QStringLiteral("pictures/bad.jpg"), "not a picture");
        folder.write(QStringLiteral("pictures/notes.txt"), "text");
        m_previous = ShellModule::setProvider(
            std::make_unique<FileSystemNamespace>(folder.file(QStringLiteral("none"))));
        settings.ImageFolder = ShiftJis::encode(folder.file(QStringLiteral("images/"))).bytes;
        picker = std::make_unique<TForm7>();
        picker->OpenFor(PictureUse::LeftOfText, settings, folder.file(QStringLiteral("pictures/")));
    }
    ~PicturePickerTest() override {
        picker.reset();
        ShellModule::setProvider(std::move(m_previous));
    }

    QString picture(const char* name) const {
        return folder.file(QStringLiteral("pictures/") + QString::fromLatin1(name));
    }
    void select(const char* name) {
        const QList<QTreeWidgetItem*> found =
            test::control<TFileView>(*picker, "FileView1")
                ->findItems(QString::fromUtf8(name), Qt::MatchExactly, TFileView::NameColumn);
        ASSERT_EQ(found.size(), 1) << name;
        test::control<TFileView>(*picker, "FileView1")->setCurrentItem(found.first());
    }
    QStringList listed() const {
        QStringList names;
        for (int row = 0; row < test::control<TFileView>(*picker, "FileView1")->topLevelItemCount(); ++row) {
            names.append(test::control<TFileView>(*picker, "FileView1")->topLevelItem(row)->text(0));
        }
        return names;
    }
    QColor previewPixel(int x, int y) const {
        return test::control<PreviewArea>(*picker, "Image2")->grab().toImage().pixelColor(x, y);
    }

    test::TempFolder folder;
    test::DialogRecorder dialogs;
    SettingsRecord settings;
    std::unique_ptr<TForm7> picker;

private:
    std::unique_ptr<NamespaceProvider> m_previous;
};

TEST_F(PicturePickerTest, OpeningShowsTheProgramFolderWithPicturesOnly) {
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("JPEG 画像参照"));
    EXPECT_EQ(picker->PickerMode, PictureUse::LeftOfText);
    EXPECT_EQ(test::control<TFolderView>(*picker, "FolderView1")->SelectedPath(),
              QDir::cleanPath(folder.file(QStringLiteral("pictures"))));
    EXPECT_FALSE(test::control<TFileView>(*picker, "FileView1")->FileExecute());
    QStringList names = listed();
    names.sort();
    EXPECT_EQ(names,
              (QStringList{u"PHOTO.Jpg"_s, u"anim.gif"_s, u"bad.jpg"_s, u"tall.jpeg"_s, u"wide.jpg"_s}));
    EXPECT_TRUE(test::checkBox(*picker, "CheckBox1")->isChecked());
    EXPECT_TRUE(test::edit(*picker, "Edit1")->isReadOnly());
    EXPECT_FALSE(test::scrollBar(*picker, "ScrollBar1")->isVisible());
    EXPECT_EQ(test::control<PreviewArea>(*picker, "Image2")->fill(), PreviewArea::Fill::ButtonFace);

    picker->SelectFolder(folder.file(QStringLiteral("images")));
    EXPECT_EQ(test::control<TFolderView>(*picker, "FolderView1")->SelectedPath(),
              QDir::cleanPath(folder.file(QStringLiteral("images"))));
}

TEST_F(PicturePickerTest, SelectingAJpegPreviewsItUnscaledWithScrollRanges) {
    const int verticalMaximum = test::scrollBar(*picker, "ScrollBar2")->maximum();
    select("wide.jpg");
    EXPECT_EQ(test::edit(*picker, "Edit1")->text(), picture("wide.jpg"));
    EXPECT_EQ(test::control<PreviewArea>(*picker, "Image1")->fill(), PreviewArea::Fill::Black);
    EXPECT_EQ(test::control<PreviewArea>(*picker, "Image2")->fill(), PreviewArea::Fill::Picture);
    EXPECT_EQ(picker->previewPicture().size(), QSize(400, 120));
    EXPECT_EQ(test::scrollBar(*picker, "ScrollBar1")->minimum(), 0);
    EXPECT_EQ(test::scrollBar(*picker, "ScrollBar1")->maximum(), 230);
    EXPECT_EQ(test::scrollBar(*picker, "ScrollBar2")->maximum(), verticalMaximum)
        << "not taller than the preview";
    const QColor inside = previewPixel(100, 60);
    EXPECT_NEAR(inside.red(), 200, 8);
    EXPECT_NEAR(inside.green(), 30, 8);
    EXPECT_NE(previewPixel(100, 150), inside) << "below the picture the preview stays blank";

    select("tall.jpeg");
    EXPECT_EQ(test::scrollBar(*picker, "ScrollBar2")->maximum(), 130);
    EXPECT_EQ(test::scrollBar(*picker, "ScrollBar1")->maximum(), 230) << "kept from the wider picture";

    test::scrollBar(*picker, "ScrollBar2")->setValue(100);
    EXPECT_EQ(test::control<PreviewArea>(*picker, "Image2")->offset(), QPoint(0, 100));
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(PicturePickerTest, OtherFilesShowTheirPathButKeepThePreview) {
    select("wide.jpg");
    select("anim.gif");
    EXPECT_EQ(test::edit(*picker, "Edit1")->text(), picture("anim.gif"));
    EXPECT_EQ(picker->previewPicture().size(), QSize(400, 120));
    EXPECT_EQ(test::control<PreviewArea>(*picker, "Image2")->fill(), PreviewArea::Fill::Picture);
    select("PHOTO.Jpg");
    EXPECT_EQ(test::edit(*picker, "Edit1")->text(), picture("PHOTO.Jpg"));
    EXPECT_EQ(picker->previewPicture().size(), QSize(400, 120)) << "a mixed-case extension is not previewed";

    QSignalSpy chosen(picker.get(), &TForm7::pictureChosen);
    select("anim.gif");
    QTest::mouseClick(test::button(*picker, "BitBtn1"), Qt::LeftButton);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.first().at(1).toByteArray(), QFile::encodeName(picture("anim.gif")));
}

TEST_F(PicturePickerTest, ADamagedJpegIsReportedAndLeavesTheShadowBehindABlankPreview) {
    select("wide.jpg");
    select("bad.jpg");
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().first().message.caption, QStringLiteral("Kelvano"));
    EXPECT_TRUE(dialogs.shown().first().message.text.contains(picture("bad.jpg")));
    EXPECT_EQ(dialogs.shown().first().ownerName, QStringLiteral("Form7"));
    EXPECT_EQ(test::control<PreviewArea>(*picker, "Image1")->fill(), PreviewArea::Fill::Black);
    EXPECT_EQ(test::control<PreviewArea>(*picker, "Image2")->fill(), PreviewArea::Fill::ButtonFace);
    EXPECT_EQ(test::edit(*picker, "Edit1")->text(), picture("bad.jpg"));
}

TEST_F(PicturePickerTest, CancelBlanksTheReferenceButKeepsTheSelection) {
    select("wide.jpg");
    test::scrollBar(*picker, "ScrollBar1")->show();
    QTest::mouseClick(test::button(*picker, "BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(test::edit(*picker, "Edit1")->text(), QString());
    EXPECT_FALSE(test::scrollBar(*picker, "ScrollBar1")->isVisible());
    EXPECT_EQ(test::control<PreviewArea>(*picker, "Image1")->fill(), PreviewArea::Fill::ButtonFace);
    EXPECT_EQ(test::control<PreviewArea>(*picker, "Image2")->fill(), PreviewArea::Fill::ButtonFace);
    EXPECT_TRUE(picker->isVisible());

    QSignalSpy chosen(picker.get(), &TForm7::pictureChosen);
    QTest::mouseClick(test::button(*picker, "BitBtn1"), Qt::LeftButton);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.first().at(1).toByteArray(), QFile::encodeName(picture("wide.jpg")));
}

TEST_F(PicturePickerTest, ConfirmingAttachesTheSourcePathInEachModeAndHides) {
    QSignalSpy chosen(picker.get(), &TForm7::pictureChosen);
    test::checkBox(*picker, "CheckBox1")->setChecked(false);
    int count = 0;
    for (const PictureUse use : {PictureUse::RightOfText, PictureUse::LeftOfText, PictureUse::Background}) {
        picker->OpenFor(use, settings, folder.file(QStringLiteral("pictures/")));
        select("tall.jpeg");
        QTest::mouseClick(test::button(*picker, "BitBtn1"), Qt::LeftButton);
        ASSERT_EQ(chosen.count(), ++count);
        EXPECT_EQ(chosen.last().at(0).value<PictureUse>(), use);
        EXPECT_EQ(chosen.last().at(1).toByteArray(), QFile::encodeName(picture("tall.jpeg")));
        EXPECT_FALSE(picker->isVisible());
    }
    EXPECT_FALSE(folder.exists(QStringLiteral("images/tall.jpeg"))) << "the copy box was clear";

    picker->OpenFor(PictureUse::Background, settings, folder.file(QStringLiteral("pictures/")));
    test::control<TFileView>(*picker, "FileView1")->clearSelection();
    QTest::mouseClick(test::button(*picker, "BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(chosen.last().at(1).toByteArray(), QByteArray()) << "nothing selected removes the picture";
}

TEST_F(PicturePickerTest, APathLongerThanACellKeepsIsRefusedNotCut) {
    // Folders whose names make the picture's path 250 and 251 bytes long; a picker that sees them.
    const QString base = folder.file(QStringLiteral("pictures/"));
    const auto inside = [&base](qsizetype length) {
        return QString(length - base.size() - 6, u'd');
    };
    for (const qsizetype length : {qsizetype(250), qsizetype(251)}) {
        ASSERT_TRUE(QDir(base).mkpath(inside(length)));
        folder.write(QStringLiteral("pictures/") + inside(length) + QStringLiteral("/x.jpg"),
                     test::jpegBytes(4, 4, Qt::red));
    }
    picker = std::make_unique<TForm7>();
    QSignalSpy chosen(picker.get(), &TForm7::pictureChosen);
    test::checkBox(*picker, "CheckBox1")->setChecked(false);
    for (const qsizetype length : {qsizetype(250), qsizetype(251)}) {
        dialogs.clear();
        picker->OpenFor(PictureUse::RightOfText, settings, base);
        picker->SelectFolder(base + inside(length));
        select("x.jpg");
        QTest::mouseClick(test::button(*picker, "BitBtn1"), Qt::LeftButton);
        if (length == 250) {
            ASSERT_EQ(chosen.count(), 1);
            EXPECT_EQ(chosen.last().at(1).toByteArray().size(), 250);
            EXPECT_TRUE(dialogs.shown().isEmpty());
        } else {
            EXPECT_EQ(chosen.count(), 1) << "nothing is attached";
            EXPECT_TRUE(picker->isVisible());
            EXPECT_EQ(dialogs.texts(), QStringList{Messages::picturePathTooLong(251)});
        }
    }
}

TEST_F(PicturePickerTest, CopiesIntoTheImageFolderAskingBeforeOverwriting) {
    QSignalSpy chosen(picker.get(), &TForm7::pictureChosen);
    select("wide.jpg");
    QTest::mouseClick(test::button(*picker, "BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(folder.read(QStringLiteral("images/wide.jpg")),
              folder.read(QStringLiteral("pictures/wide.jpg")));
    EXPECT_TRUE(dialogs.shown().isEmpty());

    folder.write(QStringLiteral("images/tall.jpeg"), "older");
    picker->OpenFor(PictureUse::RightOfText, settings, folder.file(QStringLiteral("pictures/")));
    select("tall.jpeg");
    dialogs.answerNext(false);
    QTest::mouseClick(test::button(*picker, "BitBtn1"), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().first().message.text,
              QStringLiteral("既にファイルが存在します、上書きをしますか？"));
    EXPECT_EQ(dialogs.shown().first().message.caption, QStringLiteral("TAVELO"));
    EXPECT_TRUE(dialogs.shown().first().question);
    EXPECT_EQ(folder.read(QStringLiteral("images/tall.jpeg")), QByteArray("older"));
    EXPECT_EQ(chosen.last().at(1).toByteArray(), QFile::encodeName(picture("tall.jpeg")))
        << "attached anyway";

    picker->OpenFor(PictureUse::RightOfText, settings, folder.file(QStringLiteral("pictures/")));
    select("tall.jpeg");
    dialogs.answerNext(true);
    QTest::mouseClick(test::button(*picker, "BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(folder.read(QStringLiteral("images/tall.jpeg")),
              folder.read(QStringLiteral("pictures/tall.jpeg")));
}

TEST_F(PicturePickerTest, APictureAlreadyInTheImageFolderIsNotCopiedOverItself) {
    const QByteArray original = folder.read(QStringLiteral("pictures/wide.jpg"));
    settings.ImageFolder = ShiftJis::encode(folder.file(QStringLiteral("pictures/"))).bytes;
    picker->OpenFor(PictureUse::RightOfText, settings, folder.file(QStringLiteral("pictures/")));
    select("wide.jpg");
    dialogs.answerNext(true);
    QTest::mouseClick(test::button(*picker, "BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(folder.read(QStringLiteral("pictures/wide.jpg")), original);
}

TEST_F(PicturePickerTest, APathShiftJisCannotHoldIsRefused) {
    folder.write(QStringLiteral("pictures/smile😀.jpg"), test::jpegBytes(8, 8, Qt::red));
    picker->OpenFor(PictureUse::RightOfText, settings, folder.file(QStringLiteral("images/")));
    picker->SelectFolder(folder.file(QStringLiteral("pictures/")));
    QSignalSpy chosen(picker.get(), &TForm7::pictureChosen);
    select("smile😀.jpg");
    QTest::mouseClick(test::button(*picker, "BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_EQ(dialogs.texts(), QStringList{Messages::PicturePathUnencodable});
    EXPECT_TRUE(picker->isVisible());
    EXPECT_FALSE(folder.exists(QStringLiteral("images/smile😀.jpg")));
}

} // namespace
} // namespace kelvano
