#include "shell_fixture.h"

#include <QDateTime>
#include <QFileInfo>

namespace kelvano {
namespace {

using namespace Qt::Literals::StringLiterals;

using Kind = FileSystemNamespace::Resolved::Kind;

class FileSystemNamespaceTest : public test::ShellFixture {
protected:
    NamespaceProvider& provider() { return ShellModule::provider(); }
    ShellFolder& desktop() { return provider().desktop(); }

    QStringList names(const ShellFolder& folder, ListFilter filter) {
        QStringList result;
        const QList<ItemIdList> children = folder.enumerate(filter).value();
        for (const ItemIdList& child : children) {
            result.append(folder.displayName(child, NameForm::InFolder));
        }
        result.sort();
        return result;
    }
};

TEST_F(FileSystemNamespaceTest, PathsParseToIdentifiersWhoseParsingNameIsThePath) {
    const QString photos = path(u"photos");
    const ItemIdList id = provider().parseDisplayName(photos + u'/');
    ASSERT_FALSE(id.isNull());
    EXPECT_EQ(desktop().displayName(id, NameForm::Parsing), photos);
    EXPECT_EQ(desktop().displayName(id, NameForm::InFolder), QStringLiteral("photos"));
    EXPECT_EQ(FileSystemNamespace::resolve(id).kind, Kind::Path);

    const ItemIdList file = provider().parseDisplayName(path(u"photos/photo.jpg"));
    EXPECT_EQ(desktop().displayName(file, NameForm::Parsing), path(u"photos/photo.jpg"));
    EXPECT_EQ(file.rest().count(), id.rest().count() + 1);

    EXPECT_EQ(desktop().displayName(provider().parseDisplayName(QStringLiteral("/")), NameForm::Parsing),
              QStringLiteral("/"));
    EXPECT_TRUE(provider().parseDisplayName(path(u"missing")).isNull());
    EXPECT_TRUE(provider().parseDisplayName(QStringLiteral("photos")).isNull())
        << "relative paths are unknown";
    EXPECT_TRUE(provider().parseDisplayName(QString()).isNull());

    const ItemIdList desktopId = provider().parseDisplayName(FileSystemNamespace::DesktopParsingName);
    EXPECT_TRUE(desktopId.isDesktop());
    EXPECT_EQ(desktop().displayName(desktopId, NameForm::Parsing), FileSystemNamespace::DesktopParsingName);
}

TEST_F(FileSystemNamespaceTest, ListingFiltersFoldersFilesAndHiddenItems) {
    folder.write(QStringLiteral("docs/.secret"), "s");
    QDir(path(u"docs")).mkdir(QStringLiteral(".cache"));
    QDir(path(u"docs")).mkdir(QStringLiteral("inner"));
    const FolderHandle docs = FolderHandle::bind(provider().parseDisplayName(path(u"docs")), false);
    ASSERT_TRUE(docs);
    EXPECT_EQ(names(*docs.get(), ListFilter::Folders), (QStringList{u".cache"_s, u"inner"_s}));
    EXPECT_EQ(names(*docs.get(), ListFilter::FoldersAndNonFolders),
              (QStringList{u".cache"_s, u".secret"_s, u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"inner"_s}));
    EXPECT_EQ(names(*docs.get(), ListFilter::NonFolders), (QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s}));

    QDir(path(u"docs")).removeRecursively();
    EXPECT_EQ(docs->enumerate(ListFilter::FoldersAndNonFolders), std::nullopt) << "a folder that is gone";
}

TEST_F(FileSystemNamespaceTest, DesktopHoldsHomeDrivesAndTheRoot) {
    EXPECT_EQ(names(desktop(), ListFilter::Folders),
              (QStringList{u"ドライブ"_s, u"ファイル システム"_s, u"ホーム"_s}));
    EXPECT_TRUE(desktop().enumerate(ListFilter::NonFolders).value().isEmpty());
    const ItemIdList drives = provider().specialFolder(SpecialFolder::Drives);
    const FolderHandle drivesFolder = FolderHandle::bind(drives, false);
    ASSERT_TRUE(drivesFolder);
    QStringList volumes;
    const QList<ItemIdList> volumeIds = drivesFolder->enumerate(ListFilter::Folders).value();
    for (const ItemIdList& volume : volumeIds) {
        volumes.append(drivesFolder->displayName(volume, NameForm::Parsing));
    }
    EXPECT_TRUE(volumes.contains(QStringLiteral("/"))) << volumes.join(u' ').toStdString();
    EXPECT_TRUE(FolderHandle::bind(ItemIdList::desktop(), false).get() == &desktop());
    EXPECT_FALSE(FolderHandle::bind(provider().parseDisplayName(path(u"docs/a.txt")), false))
        << "a file is no folder";
}

TEST_F(FileSystemNamespaceTest, OrderPutsFoldersFirstThenNamesWithoutRegardToCase) {
    folder.write(QStringLiteral("docs/B.txt"), "x");
    QDir(path(u"docs")).mkdir(QStringLiteral("zeta"));
    const FolderHandle docs = FolderHandle::bind(provider().parseDisplayName(path(u"docs")), false);
    const auto entry = [](const char* name, bool isFolder) {
        return FileSystemNamespace::entryElement(QString::fromLatin1(name), isFolder);
    };
    EXPECT_LT(docs->compareIds(entry("zeta", true), entry("a.txt", false)), 0);
    EXPECT_LT(docs->compareIds(entry("a.txt", false), entry("b.txt", false)), 0);
    EXPECT_LT(docs->compareIds(entry("a.txt", false), entry("B.txt", false)), 0);
    EXPECT_NE(docs->compareIds(entry("B.txt", false), entry("b.txt", false)), 0) << "two items, never equal";
    EXPECT_EQ(docs->compareIds(entry("b.txt", false), entry("b.txt", false)), 0);

    // The desktop compares whole paths element by element; a parent sorts before its children.
    const ItemIdList a = provider().parseDisplayName(path(u"docs/a.txt"));
    const ItemIdList docsId = provider().parseDisplayName(path(u"docs"));
    const ItemIdList photos = provider().parseDisplayName(path(u"photos"));
    EXPECT_LT(desktop().compareIds(docsId, a), 0);
    EXPECT_LT(desktop().compareIds(a, photos), 0);
    EXPECT_EQ(desktop().compareIds(a, provider().parseDisplayName(path(u"docs/a.txt"))), 0);
}

TEST_F(FileSystemNamespaceTest, AttributesFileDataAndTypes) {
    QFile::link(path(u"docs"), path(u"docs-link"));
    const FolderHandle base = FolderHandle::bind(provider().parseDisplayName(path()), false);
    const auto attributesOf = [&](const char* name) {
        return base->attributes(provider().parseDisplayName(path(QString::fromLatin1(name))).last(), true);
    };
    EXPECT_TRUE(attributesOf("photos").folder);
    EXPECT_TRUE(attributesOf("photos").hasSubfolders);
    EXPECT_FALSE(attributesOf("docs").hasSubfolders);
    EXPECT_FALSE(attributesOf("empty").hasSubfolders);
    EXPECT_TRUE(attributesOf("docs-link").link);
    EXPECT_TRUE(attributesOf("docs-link").folder);
    EXPECT_FALSE(attributesOf("docs").link);

    const ItemIdList c = provider().parseDisplayName(path(u"docs/c.txt"));
    const QDateTime written(QDate(1997, 12, 31), QTime(23, 59, 30));
    QFile file(path(u"docs/c.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
    file.close();
    const std::optional<FileData> data = provider().fileData(c);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->size, 1024);
    EXPECT_EQ(data->lastWrite, written);
    EXPECT_EQ(provider().fileData(provider().parseDisplayName(path(u"docs")))->size, 0);
    EXPECT_EQ(provider().fileData(ItemIdList::desktop()), std::nullopt);
    EXPECT_EQ(provider().typeName(provider().parseDisplayName(path(u"docs"))),
              QStringLiteral("ファイル フォルダ"));
    EXPECT_FALSE(provider().typeName(c).isEmpty());
}

TEST_F(FileSystemNamespaceTest, RenameGivesTheNewIdentifierOrRefuses) {
    const FolderHandle docs = FolderHandle::bind(provider().parseDisplayName(path(u"docs")), false);
    const ItemIdList a = FileSystemNamespace::entryElement(QStringLiteral("a.txt"), false);
    const ItemIdList renamed = docs->setNameOf(a, QStringLiteral("表ソ.txt"));
    ASSERT_FALSE(renamed.isNull());
    EXPECT_TRUE(QFileInfo::exists(path(u"docs/表ソ.txt")));
    EXPECT_FALSE(QFileInfo::exists(path(u"docs/a.txt")));
    EXPECT_EQ(docs->displayName(renamed, NameForm::Normal), QStringLiteral("表ソ.txt"));

    EXPECT_TRUE(docs->setNameOf(renamed, QStringLiteral("b.txt")).isNull()) << "an existing name";
    EXPECT_EQ(folder.read(QStringLiteral("docs/b.txt")).size(), 1023);
    EXPECT_TRUE(docs->setNameOf(renamed, QStringLiteral("x/y")).isNull());
    EXPECT_TRUE(docs->setNameOf(renamed, QString()).isNull());
    EXPECT_TRUE(docs->setNameOf(renamed, QStringLiteral("..")).isNull());
    EXPECT_TRUE(QFileInfo::exists(path(u"docs/表ソ.txt")));

    const FolderHandle base = FolderHandle::bind(provider().parseDisplayName(path()), false);
    const ItemIdList folderId = base->setNameOf(
        FileSystemNamespace::entryElement(QStringLiteral("empty"), true), QStringLiteral("vacant"));
    ASSERT_FALSE(folderId.isNull());
    EXPECT_TRUE(QFileInfo(path(u"vacant")).isDir());
    EXPECT_TRUE(
        desktop().setNameOf(provider().specialFolder(SpecialFolder::Drives), QStringLiteral("x")).isNull());
}

TEST_F(FileSystemNamespaceTest, MalformedIdentifiersNameNothing) {
    const ItemIdList fileThenMore =
        ItemIdList::concatenate(provider().parseDisplayName(path(u"docs/a.txt")),
                                FileSystemNamespace::entryElement(QStringLiteral("x"), false));
    EXPECT_EQ(FileSystemNamespace::resolve(fileThenMore).kind, Kind::Invalid);
    EXPECT_EQ(FileSystemNamespace::resolve(ItemIdList::fromPayload("?")).kind, Kind::Invalid);
    const ItemIdList dotDot = ItemIdList::concatenate(
        provider().parseDisplayName(path()), FileSystemNamespace::entryElement(QStringLiteral(".."), true));
    EXPECT_EQ(FileSystemNamespace::resolve(dotDot).kind, Kind::Invalid) << "no climbing out of a folder";
    EXPECT_EQ(desktop().displayName(fileThenMore, NameForm::Parsing), QString());
    EXPECT_FALSE(FolderHandle::bind(fileThenMore, false));
}

} // namespace
} // namespace kelvano
