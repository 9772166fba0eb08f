#include "gui/shell/combo_view.h"
#include "gui/shell/file_view.h"
#include "gui/shell/folder_view.h"
#include "gui/shell/shell_context_menu.h"
#include "shell_fixture.h"
#include "support/dialog_recorder.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace kelvano {
namespace {

using namespace Qt::Literals::StringLiterals;

class ShellViewsTest : public test::ShellFixture {
protected:
    ShellViewsTest() {
        tree.setFileView(&list);
        tree.resize(300, 400);
        list.resize(500, 400);
    }

    QStringList listedNames() const {
        QStringList names;
        for (int row = 0; row < list.topLevelItemCount(); ++row) {
            names.append(list.topLevelItem(row)->text(TFileView::NameColumn));
        }
        return names;
    }
    QTreeWidgetItem* listItem(const QString& name) const {
        const QList<QTreeWidgetItem*> found = list.findItems(name, Qt::MatchExactly, TFileView::NameColumn);
        return found.isEmpty() ? nullptr : found.first();
    }
    QTreeWidgetItem* treeChild(QTreeWidgetItem* node, const QString& name) const {
        for (int index = 0; node && index < node->childCount(); ++index) {
            if (node->child(index)->text(0) == name) {
                return node->child(index);
            }
        }
        return nullptr;
    }
    void clickHeader(int column) {
        QHeaderView* header = list.header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    void doubleClick(QTreeWidget& view, QTreeWidgetItem* item) {
        view.setCurrentItem(item);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, view.visualItemRect(item).center());
    }
    /// Edits an item's label as the user does: F2, a new text, then Return (or Escape).
    void editLabel(QTreeWidget& view, QTreeWidgetItem* item, const QString& text, bool confirm = true) {
        view.show();
        view.setCurrentItem(item);
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_F2);
        auto* editor = view.viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, confirm ? Qt::Key_Return : Qt::Key_Escape);
        QApplication::processEvents();
    }

    TFolderView tree;
    TFileView list;
};

TEST_F(ShellViewsTest, LoadingShowsTheDesktopExpandedAndListedInTheList) {
    QTreeWidgetItem* root = tree.topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), QStringLiteral("デスクトップ"));
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(root->childCount(), 3);
    EXPECT_FALSE(root->flags() & Qt::ItemIsEditable) << "the root's label cannot be edited";
    EXPECT_EQ(tree.SelectedPath(), FileSystemNamespace::DesktopParsingName);
    EXPECT_EQ(list.topLevelItemCount(), 3);
}

TEST_F(ShellViewsTest, SelectPathSelectsExpandsAndRefillsTheList) {
    QSignalSpy changes(&tree, &TFolderView::Change);
    tree.SelectPath(path(u"photos") + u'/');
    EXPECT_EQ(tree.SelectedPath(), path(u"photos"));
    EXPECT_EQ(changes.count(), 1);
    for (QTreeWidgetItem* node = tree.currentItem()->parent(); node; node = node->parent()) {
        EXPECT_TRUE(node->isExpanded()) << node->text(0).toStdString();
    }
    EXPECT_EQ(listedNames(), (QStringList{u"sub"_s, u"noext"_s, u"photo.jpeg"_s, u"PHOTO.JPG"_s,
                                          u"photo.jpg"_s, u"photo.jpg.bak"_s}));
    EXPECT_EQ(list.SelectedPath(), QString()) << "nothing selected in the list";

    // A selected folder shows its open icon.
    const NamespaceProvider& provider = ShellModule::provider();
    const QIcon open = provider.icon(provider.parseDisplayName(path(u"photos")), true);
    EXPECT_EQ(tree.currentItem()->icon(0).pixmap(16, QIcon::Selected).toImage(), open.pixmap(16).toImage());

    tree.SelectPath(path(u"missing"));
    EXPECT_EQ(tree.SelectedPath(), path(u"photos")) << "an unknown path changes nothing";
    tree.SelectPath(QStringLiteral("not/absolute"));
    EXPECT_EQ(tree.SelectedPath(), path(u"photos"));
}

TEST_F(ShellViewsTest, AnEmptyFolderLosesItsExpandMarkWhenFirstExpanded) {
    QDir(path(u"empty")).mkdir(QStringLiteral("gone"));
    tree.SelectPath(path());
    tree.currentItem()->setExpanded(true);
    QTreeWidgetItem* empty = treeChild(tree.currentItem(), QStringLiteral("empty"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    QDir(path(u"empty")).rmdir(QStringLiteral("gone"));
    empty->setExpanded(true);
    EXPECT_EQ(empty->childCount(), 0);
    EXPECT_EQ(empty->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);
    EXPECT_EQ(treeChild(tree.currentItem(), QStringLiteral("docs"))->childIndicatorPolicy(),
              QTreeWidgetItem::DontShowIndicatorWhenChildless)
        << "a folder without subfolders has no mark to begin with";
}

TEST_F(ShellViewsTest, MaskListsMatchingFilesInAnyCaseAndEveryFolder) {
    list.setMask({QStringLiteral(".JPG")});
    tree.SelectPath(path(u"photos"));
    EXPECT_EQ(listedNames(), (QStringList{u"sub"_s, u"PHOTO.JPG"_s, u"photo.jpg"_s}));
}

TEST_F(ShellViewsTest, ColumnsShowSizeTypeAndDate) {
    const QDateTime written(QDate(1997, 12, 31), QTime(23, 59, 30));
    QFile file(path(u"docs/a.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
    file.close();
    QDir(path(u"docs")).mkdir(QStringLiteral("inner"));
    tree.SelectPath(path(u"docs"));

    EXPECT_EQ(list.headerItem()->text(0), QStringLiteral("名前"));
    EXPECT_EQ(list.headerItem()->text(1), QStringLiteral("ｻｲｽﾞ"));
    EXPECT_EQ(list.headerItem()->text(2), QStringLiteral("ﾌｧｲﾙの種類"));
    EXPECT_EQ(list.headerItem()->text(3), QStringLiteral("更新日時"));
    EXPECT_EQ(list.columnWidth(1), 60);
    EXPECT_EQ(listItem(QStringLiteral("a.txt"))->text(1), QStringLiteral("       1KB"));
    EXPECT_EQ(listItem(QStringLiteral("b.txt"))->text(1), QStringLiteral("       1KB"));
    EXPECT_EQ(listItem(QStringLiteral("c.txt"))->text(1), QStringLiteral("       2KB"));
    EXPECT_EQ(listItem(QStringLiteral("inner"))->text(1), QStringLiteral("       1KB"));
    EXPECT_EQ(listItem(QStringLiteral("a.txt"))->text(3), QStringLiteral("97/12/31 23:59"));
    EXPECT_EQ(listItem(QStringLiteral("inner"))->text(2), QStringLiteral("ファイル フォルダ"));
    EXPECT_EQ(listItem(QStringLiteral("a.txt"))->textAlignment(1) & Qt::AlignRight, Qt::AlignRight);
}

TEST_F(ShellViewsTest, HeaderClicksSortDescendingFirstThenAscending) {
    list.show();
    tree.SelectPath(path(u"docs"));
    const QStringList shellOrder{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s};
    EXPECT_EQ(listedNames(), shellOrder);
    clickHeader(TFileView::NameColumn);
    EXPECT_EQ(listedNames(), (QStringList{u"c.txt"_s, u"b.txt"_s, u"a.txt"_s}));
    clickHeader(TFileView::NameColumn);
    EXPECT_EQ(listedNames(), shellOrder);
    clickHeader(TFileView::SizeColumn);
    EXPECT_EQ(listedNames().first(), QStringLiteral("c.txt"))
        << "2KB first: " << listedNames().join(u' ').toStdString();

    // A refill resets every direction, for every list.
    TFileView other;
    other.SetFolder(ShellModule::provider().parseDisplayName(path(u"docs")));
    list.Fill();
    clickHeader(TFileView::SizeColumn);
    EXPECT_EQ(listedNames().first(), QStringLiteral("c.txt"));
    clickHeader(TFileView::SizeColumn);
    EXPECT_EQ(listedNames().last(), QStringLiteral("c.txt"));
}

TEST_F(ShellViewsTest, SortingKeepsTheSelection) {
    list.show();
    tree.SelectPath(path(u"docs"));
    list.setCurrentItem(listItem(QStringLiteral("b.txt")));
    clickHeader(TFileView::NameColumn);
    EXPECT_EQ(list.SelectedPath(), path(u"docs/b.txt"));
}

TEST_F(ShellViewsTest, DoubleClickMovesIntoFoldersAndOpensFilesOnlyWhenAllowed) {
    list.setFileExecute(false);
    list.show();
    tree.SelectPath(path(u"photos"));
    QSignalSpy opened(&list, &TFileView::DblClick);
    doubleClick(list, listItem(QStringLiteral("photo.jpg")));
    EXPECT_EQ(tree.SelectedPath(), path(u"photos"));
    EXPECT_EQ(opened.count(), 0);

    doubleClick(list, listItem(QStringLiteral("sub")));
    EXPECT_EQ(tree.SelectedPath(), path(u"photos/sub"));
    EXPECT_EQ(list.topLevelItemCount(), 0);
    EXPECT_EQ(opened.count(), 0);
}

TEST_F(ShellViewsTest, SelectedPathOfTheListIsTheItemsFullPath) {
    tree.SelectPath(path(u"docs"));
    QSignalSpy changes(&list, &TFileView::Change);
    list.setCurrentItem(listItem(QStringLiteral("b.txt")));
    EXPECT_EQ(list.SelectedPath(), path(u"docs/b.txt"));
    EXPECT_GE(changes.count(), 1);
    list.clearSelection();
    EXPECT_EQ(list.SelectedPath(), QString());
}

TEST_F(ShellViewsTest, EditingALabelRenamesTheItem) {
    tree.SelectPath(path());
    tree.currentItem()->setExpanded(true);
    editLabel(list, listItem(QStringLiteral("docs")), QStringLiteral("papers"));
    EXPECT_TRUE(QFileInfo(path(u"papers")).isDir());
    EXPECT_NE(listItem(QStringLiteral("papers")), nullptr);
    QTreeWidgetItem* node = treeChild(tree.currentItem(), QStringLiteral("papers"));
    ASSERT_NE(node, nullptr) << "the tree's node follows the rename";
    tree.setCurrentItem(node);
    EXPECT_EQ(tree.SelectedPath(), path(u"papers"));
    EXPECT_EQ(list.topLevelItemCount(), 3);

    tree.SelectPath(path());
    editLabel(list, listItem(QStringLiteral("photos")), QStringLiteral("papers"));
    EXPECT_NE(listItem(QStringLiteral("photos")), nullptr) << "a refused rename keeps the old name";
    EXPECT_TRUE(QFileInfo(path(u"photos")).isDir());

    editLabel(list, listItem(QStringLiteral("empty")), QStringLiteral("other"), false);
    EXPECT_TRUE(QFileInfo(path(u"empty")).isDir()) << "a cancelled edit renames nothing";
}

TEST_F(ShellViewsTest, EditingATreeLabelRenamesTheFolderAndShowsItUnderItsNewPath) {
    tree.SelectPath(path(u"photos/sub"));
    QTreeWidgetItem* photos = tree.currentItem()->parent();
    editLabel(tree, photos, QStringLiteral("写真"));
    EXPECT_TRUE(QFileInfo(path(u"写真/sub")).isDir());
    EXPECT_EQ(photos->text(0), QStringLiteral("写真"));
    EXPECT_EQ(ShellModule::provider().desktop().displayName(list.folderId(), NameForm::Parsing),
              path(u"写真"))
        << "the list shows the renamed folder under its new path";
    tree.setCurrentItem(photos->child(0));
    EXPECT_EQ(tree.SelectedPath(), path(u"写真/sub"));
}

TEST_F(ShellViewsTest, AFolderThatCannotBeListedSendsTheTreeBack) {
    tree.SelectPath(path(u"docs"));
    tree.SelectPath(path(u"photos"));
    QTreeWidgetItem* photos = tree.currentItem();
    QTreeWidgetItem* docs = treeChild(photos->parent(), QStringLiteral("docs"));
    ASSERT_NE(docs, nullptr);
    QDir(path(u"docs")).removeRecursively();
    tree.setCurrentItem(docs);
    EXPECT_EQ(tree.currentItem(), photos);
    EXPECT_EQ(listedNames().size(), 6) << "the list shows the previous folder again";

    // With the previous folder gone too, the tree goes back once and stops there.
    QDir(path(u"photos")).removeRecursively();
    tree.setCurrentItem(docs);
    EXPECT_TRUE(tree.currentItem() == docs || tree.currentItem() == photos);
    EXPECT_EQ(listedNames().size(), 6) << "the list keeps its content";
}

TEST_F(ShellViewsTest, ContextMenuGetsTheSendToEntriesInItsLastSubmenu) {
    TShellContextMenu menu;
    ASSERT_EQ(menu.sendToItems().size(), 2);
    const FolderHandle docs =
        FolderHandle::bind(ShellModule::provider().parseDisplayName(path(u"docs")), false);
    const std::unique_ptr<ContextMenuObject> commands =
        docs->contextMenuOf(FileSystemNamespace::entryElement(QStringLiteral("a.txt"), false));
    ASSERT_TRUE(commands);
    const std::unique_ptr<QMenu> popup = menu.buildMenu(*commands, nullptr);
    ASSERT_TRUE(popup);
    QMenu* sendTo = nullptr;
    QStringList commandTexts;
    for (QAction* action : popup->actions()) {
        if (action->menu()) {
            sendTo = action->menu();
        } else if (!action->isSeparator()) {
            commandTexts.append(action->text());
        }
    }
    EXPECT_EQ(commandTexts,
              (QStringList{u"開く(&O)"_s, u"削除(&D)"_s, u"名前の変更(&M)"_s, u"プロパティ(&R)"_s}));
    ASSERT_NE(sendTo, nullptr);
    QStringList entries;
    for (QAction* action : sendTo->actions()) {
        entries.append(action->text());
    }
    entries.sort();
    EXPECT_EQ(entries, (QStringList{u"Archive.sh"_s, u"Mail.sh"_s})) << "the placeholder went";

    QDir(path(u"SendTo")).removeRecursively();
    TShellContextMenu withoutSendTo;
    EXPECT_TRUE(withoutSendTo.sendToItems().isEmpty());
}

TEST_F(ShellViewsTest, RightButtonShowsTheItemsMenuAndRunsTheChosenCommand) {
    test::DialogRecorder dialogs;
    TShellContextMenu menu(&list);
    list.setContextMenu(&menu);
    list.show();
    tree.SelectPath(path(u"docs"));
    QTreeWidgetItem* item = listItem(QStringLiteral("c.txt"));
    const QPoint where = list.visualItemRect(item).center();
    const auto choose = [](const QString& text) {
        QTimer::singleShot(0, [text] {
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(popup, nullptr);
            for (QAction* action : popup->actions()) {
                if (action->text() == text) {
                    popup->setActiveAction(action);
                }
            }
            QTest::keyClick(popup, Qt::Key_Return);
        });
    };
    list.setCurrentItem(item);
    choose(QStringLiteral("プロパティ(&R)"));
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, where);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown().first().message.text.contains(path(u"docs/c.txt")));
    EXPECT_TRUE(dialogs.shown().first().message.text.contains(QStringLiteral("2KB")));

    choose(QStringLiteral("名前の変更(&M)"));
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, where);
    QApplication::processEvents();
    auto* editor = list.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr) << "the label is open for editing";
    editor->setText(QStringLiteral("d.txt"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(folder.exists(QStringLiteral("docs/d.txt")));
    EXPECT_NE(listItem(QStringLiteral("d.txt")), nullptr);
}

TEST_F(ShellViewsTest, ComboFollowsTheTreeAndMovesItWhenPicked) {
    TComboView combo;
    combo.setFolderView(&tree);
    EXPECT_EQ(combo.currentIndex(), 0);
    tree.SelectPath(path(u"photos/sub"));
    const QList<TComboData>& entries = combo.entries();
    const TComboData& current = entries.at(combo.currentIndex());
    const ItemIdList sub = ShellModule::provider().parseDisplayName(path(u"photos/sub"));
    EXPECT_EQ(current.id, sub);
    EXPECT_EQ(current.level, sub.count());
    // Every step of the path stands above it, one level apart, below its parent's entry.
    int level = current.level;
    for (int index = combo.currentIndex(); index > 0 && level > 0; --index) {
        if (entries[index].level == level) {
            EXPECT_EQ(entries[index].id, sub.prefix(level));
            --level;
        }
    }
    EXPECT_EQ(level, 0);
    for (int index = 1; index < entries.size(); ++index) {
        EXPECT_LE(entries[index].level, entries[index - 1].level + 1) << "no entry without its parent above";
    }

    const ItemIdList photos = ShellModule::provider().parseDisplayName(path(u"photos"));
    const int photosEntry = int(std::find_if(entries.begin(), entries.end(),
                                             [&](const TComboData& data) { return data.id == photos; }) -
                                entries.begin());
    ASSERT_LT(photosEntry, entries.size());
    combo.setCurrentIndex(photosEntry);
    emit combo.activated(photosEntry);
    EXPECT_EQ(tree.SelectedPath(), path(u"photos"));
    EXPECT_EQ(combo.InsertPath(photos), combo.currentIndex()) << "an existing path adds no entry";
}

} // namespace
} // namespace kelvano
