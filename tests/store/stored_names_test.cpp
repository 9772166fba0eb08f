#include "core/store/settings_file.h"
#include "core/store/shift_jis.h"
#include "core/store/snippet_store.h"
#include "core/store/stored_names.h"
#include "core/store/table_data_files.h"
#include "core/store/table_definition_file.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace kelvano {
namespace {

using test::sjis;

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

TEST(StoredNames, TheExactNameWinsElseTheFirstInByteOrderAndSeveralAreAmbiguous) {
    test::TempFolder folder;
    EXPECT_FALSE(matchStoredName(folder.path(), QStringLiteral("a.jpg")).found());
    EXPECT_EQ(matchStoredName(folder.path(), QStringLiteral("a.jpg")).path,
              folder.file(QStringLiteral("a.jpg")));

    folder.write(QStringLiteral("a.JPG"), "upper");
    StoredNameMatch one = matchStoredName(folder.path(), QStringLiteral("A.jpg"));
    EXPECT_EQ(one.path, folder.file(QStringLiteral("a.JPG")));
    EXPECT_TRUE(one.differs);
    EXPECT_FALSE(one.ambiguous());
    EXPECT_EQ(resolveStoredPath(folder.file(QStringLiteral("A.JPG"))), folder.file(QStringLiteral("a.JPG")));

    folder.write(QStringLiteral("A.jpg"), "mixed");
    folder.write(QStringLiteral("a.jpg"), "lower");
    // The stored spelling is there: it wins over the others, which the check tells about.
    const StoredNameMatch exact = matchStoredName(folder.path(), QStringLiteral("a.jpg"));
    EXPECT_EQ(exact.path, folder.file(QStringLiteral("a.jpg")));
    EXPECT_FALSE(exact.differs);
    EXPECT_EQ(exact.names, (QList<QByteArray>{"a.jpg", "A.jpg", "a.JPG"}));
    // Not there: the first in byte order ("A" 0x41 before "a" 0x61).
    const StoredNameMatch first = matchStoredName(folder.path(), QStringLiteral("A.JPG"));
    EXPECT_EQ(first.path, folder.file(QStringLiteral("A.jpg")));
    EXPECT_TRUE(first.ambiguous());
    EXPECT_EQ(first.names.size(), 3);

    // Folders are looked up apart from files.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Grph")));
    EXPECT_FALSE(matchStoredName(folder.path(), QStringLiteral("GRPH")).found());
    EXPECT_EQ(matchStoredName(folder.path(), QStringLiteral("GRPH"), StoredEntry::Folder).path,
              folder.file(QStringLiteral("Grph")));
    // A folder of no place here finds nothing, whatever the working folder holds.
    EXPECT_FALSE(matchStoredName(QStringLiteral("D:\\pics\\"), QStringLiteral("a.jpg")).found());
}

TEST(StoredNames, ANameKeptInShiftJisBytesIsMatchedAndToldApart) {
    test::TempFolder folder;
    const QString ringo = QStringLiteral("りんご.jpg");
    test::writeRawName(folder.path(), sjis(ringo), "jpeg");
    const StoredNameMatch match = matchStoredName(folder.path(), ringo);
    ASSERT_TRUE(match.found());
    EXPECT_EQ(match.used, sjis(ringo));
    EXPECT_TRUE(match.inShiftJis());
    EXPECT_TRUE(match.differs);
    EXPECT_EQ(match.nameOnDisk(), ringo);
    EXPECT_TRUE(isShiftJisName(sjis(ringo)));
    EXPECT_FALSE(isShiftJisName(ringo.toUtf8()));
    EXPECT_FALSE(isShiftJisName("plain.jpg"));
    // A name that is no UTF-8 and no whole Shift-JIS either is neither.
    EXPECT_FALSE(isShiftJisName("\x82"));

    // Once there is a UTF-8 spelling too, that one is opened.
    folder.write(ringo, "utf8");
    const StoredNameMatch both = matchStoredName(folder.path(), ringo);
    EXPECT_FALSE(both.inShiftJis());
    EXPECT_EQ(both.path, folder.file(ringo));
    EXPECT_TRUE(both.ambiguous());
}

TEST(StoredNames, EveryStoredFileIsReadAndReplacedUnderTheNameItHasOnDisk) {
    test::TempFolder folder;
    TableDefinition definition;
    definition.TableName = "t";
    definition.FileName = "price";
    folder.write(QStringLiteral("table.dat"), definition.encode());
    folder.write(QStringLiteral("Tavelo.Dat"), SettingsRecord{"/d/", "/h/", "/i/", "g/"}.encode());
    TableRowRecord row;
    row.CellTexts[1] = "apple";
    folder.write(QStringLiteral("PRICE.tbl"), row.encode());
    folder.write(QStringLiteral("price.ali"), "apple\r\n");
    folder.write(QStringLiteral("Price.Url"), "a.html\r\n");
    folder.write(QStringLiteral("head.dat"), SnippetIndexRecord{"top", false}.encode());
    folder.write(QStringLiteral("Head.0"), "<HTML>\r\n");

    // Reading.
    EXPECT_EQ(TableDefinitionFile(folder.path()).read(0)->FileName, "price");
    EXPECT_EQ(SettingsFile::read(folder.path()).ServerImagePath, "g/");
    const TableDataFiles files(folder.path(), QStringLiteral("price"));
    TableRowReader reader;
    ASSERT_TRUE(files.openRowsForReading(reader));
    TableRowRecord read;
    ASSERT_TRUE(reader.next(read));
    EXPECT_EQ(read.CellTexts[1], "apple");
    EXPECT_EQ(files.readReferences(), QList<QByteArray>{"apple"});
    EXPECT_EQ(files.readLinks(), QList<QByteArray>{"a.html"});
    const SnippetStore headers(folder.path(), SnippetKind::Header);
    EXPECT_EQ(headers.loadEntries()->size(), 1);
    EXPECT_EQ(headers.read(0)->body, QList<QByteArray>{"<HTML>"});

    // Replacing: each file keeps its name, and no second spelling appears.
    const QStringList before = filesIn(folder.path());
    TableDefinitionFile(folder.path()).write(0, definition);
    SettingsFile::save(folder.path(), SettingsRecord{"/d/", "/h/", "/i/", "x/"});
    ASSERT_NO_THROW(files.writeRecords(1, [&row](int) { return row; }));
    files.addReference("pear");
    files.addLink("b.html");
    files.removeLink("a.html");
    headers.change(0, {"<BODY>"});
    ASSERT_TRUE(headers.registerSnippet("mid", {}));
    QStringList expected = before + QStringList{QStringLiteral("HEAD.1")};
    expected.sort();
    EXPECT_EQ(filesIn(folder.path()), expected);
    EXPECT_EQ(folder.read(QStringLiteral("Tavelo.Dat")).mid(754, 2), "x/");
    EXPECT_EQ(folder.read(QStringLiteral("price.ali")), "apple\r\npear\r\n");
    EXPECT_EQ(folder.read(QStringLiteral("Price.Url")), "b.html\r\n");
    EXPECT_EQ(folder.read(QStringLiteral("Head.0")), "<BODY>\r\n");
    EXPECT_EQ(folder.read(QStringLiteral("head.dat")).size(), 2 * SnippetIndexRecord::Size);
}

} // namespace
} // namespace kelvano
