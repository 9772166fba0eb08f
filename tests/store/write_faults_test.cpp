#include "core/store/file_names.h"
#include "core/store/io_error.h"
#include "core/store/save_file.h"
#include "core/store/snippet_store.h"
#include "core/store/table_data_files.h"
#include "core/store/table_definition_file.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "words/page_words.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kelvano {
namespace {

QStringList filesIn(const test::TempFolder& folder) {
    return QDir(folder.path()).entryList(QDir::Files, QDir::Name);
}

// A FileName read from TABLE.DAT is joined to the data and HTML folders: it must not reach a parent.
TEST(StoredFileNames, NamesThatLeaveTheirFolderAreRefused) {
    for (const QByteArray& usable : {QByteArray("price"), QByteArray("a.b"), QByteArray("a..b"),
                                     QByteArray(".hidden"), test::So + "x", test::Hyo, QByteArray("x..")}) {
        EXPECT_TRUE(isUsableStoredFileName(usable)) << usable.toHex().toStdString();
    }
    for (const QByteArray& unusable :
         {QByteArray(), QByteArray("."), QByteArray(".."), QByteArray("../x"), QByteArray("../../x"),
          QByteArray("..x"), QByteArray("a/b"), QByteArray("a\\b"), QByteArray("a\0b", 3), QByteArray("a\tb"),
          QByteArray("a\x1b[2Jb"), QByteArray("a\x7f"), QByteArray("a\x80"), QByteArray("/abs")}) {
        EXPECT_FALSE(isUsableStoredFileName(unusable)) << unusable.toHex().toStdString();
    }
    EXPECT_EQ(Messages::unusableFileNameText(3, QStringLiteral("価格表")),
              QStringLiteral("ファイル名に使用出来ない文字が含まれています：3 価格表"));

    test::TempFolder folder;
    try {
        TableDataFiles::fromStored(test::sjis(folder.path()), "../outside");
        FAIL() << "the files of ../outside were named";
    } catch (const IoError& error) {
        EXPECT_EQ(error.reason(), QStringLiteral("ファイル名に使用出来ない文字が含まれています"));
    }
}

// TABLE.DAT grew from 3048 to 4096 bytes under a file-size limit, and every later run refused it.
TEST(RecordWrites, AnAppendCutShortLeavesTheFileAtItsWholeRecords) {
    test::TempFolder folder;
    const TableDefinitionFile definitions(folder.path());
    TableDefinition definition;
    definition.FileName = "a";
    definitions.append(definition);
    definitions.append(definition);
    ASSERT_EQ(folder.read(QStringLiteral("TABLE.DAT")).size(), 3048);
    const QByteArray before = folder.read(QStringLiteral("TABLE.DAT"));
    {
        const test::FileSizeLimit limit(4096);
        try {
            definitions.append(definition);
            FAIL() << "the append went through";
        } catch (const IoError& error) {
            EXPECT_EQ(error.errorNumber(), EFBIG);
        }
    }
    EXPECT_EQ(folder.read(QStringLiteral("TABLE.DAT")), before);
    const DefinitionList list = definitions.readAll();
    EXPECT_FALSE(list.damagedTail);
    EXPECT_EQ(list.records.size(), 2);
    EXPECT_EQ(definitions.append(definition), 2);

    // The reference and link lists never end in half a line either.
    const TableDataFiles files(folder.path(), QStringLiteral("t"));
    ASSERT_TRUE(files.addLink(QByteArray(3000, 'a')));
    {
        const test::FileSizeLimit limit(4096);
        EXPECT_THROW(files.addLink(QByteArray(3000, 'b')), IoError);
    }
    EXPECT_EQ(files.readLinks(), QList<QByteArray>{QByteArray(3000, 'a')});
}

// A snippet whose body cannot be written must not leave a record that names no body.
TEST(RecordWrites, ASnippetWhoseBodyFailsLeavesNoIndexRecord) {
    test::TempFolder folder;
    const SnippetStore headers(folder.path(), SnippetKind::Header);
    ASSERT_TRUE(headers.loadEntries());
    ASSERT_EQ(headers.registerSnippet("Top", {"<html>"}), 0);
    {
        const test::FileSizeLimit limit(1000);
        EXPECT_THROW(headers.registerSnippet("Big", {QByteArray(5000, 'x')}), IoError);
    }
    EXPECT_EQ(folder.read(QStringLiteral("HEAD.DAT")).size(), 82);
    EXPECT_EQ(filesIn(folder), (QStringList{QStringLiteral("HEAD.0"), QStringLiteral("HEAD.DAT")}));
    EXPECT_EQ(headers.registerSnippet("Next", {"n"}), 1);
    EXPECT_EQ(folder.read(QStringLiteral("HEAD.1")), "n\r\n");
}

TEST(WholeFileReplacement, KeepsPermissionsAndLeavesNoScratchFileOnFailure) {
    test::TempFolder folder;
    const QString page = folder.file(QStringLiteral("p.html"));
    replaceWholeFile(page, "old");
    QFile::setPermissions(page, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    replaceWholeFile(page, "new");
    EXPECT_EQ(folder.read(QStringLiteral("p.html")), "new");
    const QFileDevice::Permissions ownerGroupOther(0x7077);
    EXPECT_EQ((QFile::permissions(page) & ownerGroupOther).toInt(),
              QFileDevice::Permissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup).toInt());
    // Bits that a new file would not get under the umask are kept as well.
    ASSERT_EQ(::chmod(QFile::encodeName(page).constData(), 0666), 0);
    replaceWholeFile(page, "newer");
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(page).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0666U);

    // The link list is rewritten through its ".TMP" file, which a failed write used to leave behind.
    const TableDataFiles files(folder.path(), QStringLiteral("t"));
    ASSERT_TRUE(files.addLink(QByteArray(3000, 'a')));
    ASSERT_TRUE(files.addLink("b"));
    ASSERT_TRUE(files.addLink(QByteArray(3000, 'c')));
    const QByteArray list = folder.read(QStringLiteral("t.URL"));
    {
        const test::FileSizeLimit limit(4096);
        try {
            files.removeLink("b");
            FAIL() << "the removal went through";
        } catch (const IoError& error) {
            EXPECT_EQ(error.errorNumber(), EFBIG);
            EXPECT_EQ(error.path(), folder.file(QStringLiteral("t.URL")));
        }
    }
    EXPECT_EQ(folder.read(QStringLiteral("t.URL")), list);
    EXPECT_EQ(filesIn(folder), (QStringList{QStringLiteral("p.html"), QStringLiteral("t.URL")}));

    // A ".TMP" that cannot be made (a folder of that name) is told apart from a failed write.
    QDir(folder.path()).mkdir(QStringLiteral("t.TMP"));
    EXPECT_EQ(files.removeLink("b"), std::nullopt);
    EXPECT_EQ(folder.read(QStringLiteral("t.URL")), list);
}

TEST(WholeFileReplacement, ALargeFileWrittenOutEarlyIsWholeOrNotThereAtAll) {
    // Past a few megabytes the scratch file is synced while it is written; that changes nothing a
    // reader can see, and a failure part-way still leaves the old file alone.
    test::TempFolder folder;
    const QString path = folder.file(QStringLiteral("big.html"));
    QByteArray contents(20 * 1024 * 1024, 'a');
    for (qsizetype i = 0; i < contents.size(); i += 4093) {
        contents[i] = static_cast<char>('b' + i % 23);
    }
    const auto writeInPieces = [&contents](QIODevice& device) {
        for (qsizetype at = 0; at < contents.size(); at += 64 * 1024) {
            writeAll(device, QByteArrayView(contents).sliced(
                                 at, std::min<qsizetype>(64 * 1024, contents.size() - at)));
        }
    };
    replaceWholeFile(path, writeInPieces);
    EXPECT_EQ(folder.read(QStringLiteral("big.html")), contents);
    {
        const test::FileSizeLimit limit(12 * 1024 * 1024);
        EXPECT_THROW(replaceWholeFile(path, writeInPieces), IoError);
        ReplacementBatch batch;
        contents[1] = 'z'; // the file's own bytes again would leave it as it is, writing nothing
        EXPECT_THROW(batch.add(path, writeInPieces), IoError);
        EXPECT_TRUE(batch.commit().isEmpty());
    }
    EXPECT_EQ(QFileInfo(path).size(), contents.size());
    EXPECT_EQ(filesIn(folder), QStringList{QStringLiteral("big.html")});
}

} // namespace
} // namespace kelvano
