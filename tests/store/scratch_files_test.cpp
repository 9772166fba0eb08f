#include "core/store/save_file.h"
#include "core/store/scratch_files.h"
#include "core/store/table_data_files.h"
#include "core/text/line_filters.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvano {
namespace {

QStringList scratchFilesIn(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden);
}

// A link planted at a fixed scratch name (ZSTREX.TMP of the line filters, a table's ".TMP") is never
// written through, and never becomes the file; a plain scratch file an earlier run left is replaced.
TEST(ScratchFiles, APlantedLinkAtAFixedScratchNameIsNeverWrittenThrough) {
    const test::TempFolder data;
    const test::TempFolder elsewhere;
    elsewhere.write(QStringLiteral("target"), "precious\r\n");
    const QString target = elsewhere.file(QStringLiteral("target"));

    data.write(QStringLiteral("list.txt"), "a\r\nb\r\n");
    ASSERT_TRUE(QFile::link(target, data.file(QStringLiteral("ZSTREX.TMP"))));
    StringUtil::Cutline(data.file(QStringLiteral("list.txt")), "a");
    EXPECT_EQ(elsewhere.read(QStringLiteral("target")), "precious\r\n");
    EXPECT_FALSE(QFileInfo(data.file(QStringLiteral("list.txt"))).isSymLink());
    EXPECT_EQ(data.read(QStringLiteral("list.txt")), "a\r\nb\r\n") << "refused, the file unchanged";

    const TableDataFiles files(data.path(), QStringLiteral("t"));
    data.write(QStringLiteral("t.URL"), "http://a/\r\nhttp://b/\r\n");
    ASSERT_TRUE(QFile::link(target, files.scratchPath()));
    EXPECT_FALSE(files.removeLink("http://a/").has_value());
    EXPECT_EQ(elsewhere.read(QStringLiteral("target")), "precious\r\n");
    EXPECT_FALSE(QFileInfo(files.linkPath()).isSymLink());
    EXPECT_EQ(data.read(QStringLiteral("t.URL")), "http://a/\r\nhttp://b/\r\n");

    // A plain file left at the fixed names by a killed run is ours to replace.
    QFile::remove(files.scratchPath());
    QFile::remove(data.file(QStringLiteral("ZSTREX.TMP")));
    data.write(QStringLiteral("t.TMP"), "left over\r\n");
    data.write(QStringLiteral("ZSTREX.TMP"), "left over\r\n");
    ASSERT_TRUE(files.removeLink("http://a/").has_value());
    EXPECT_EQ(data.read(QStringLiteral("t.URL")), "http://b/\r\n");
    StringUtil::Cutline(data.file(QStringLiteral("list.txt")), "a");
    EXPECT_EQ(data.read(QStringLiteral("list.txt")), "b\r\n");
    EXPECT_FALSE(data.exists(QStringLiteral("t.TMP")));
    EXPECT_FALSE(data.exists(QStringLiteral("ZSTREX.TMP")));
}

// A file whose name is as long as the file system allows can still be replaced: the scratch name is
// cut to fit (between characters), and the 240-byte name of 80 half-width katakana is one of them.
TEST(ScratchFiles, AScratchNameFitsWheneverTheFinalNameFits) {
    const test::TempFolder folder;
    const QString katakana = QString(80, QChar(0xFF71)); // ｱ, 3 bytes in UTF-8
    for (const QString& name : {katakana + QStringLiteral(".html"), katakana + QStringLiteral(".TBL"),
                                QString(255, QLatin1Char('n')), QString(247, QLatin1Char('n'))}) {
        const QString path = folder.file(name);
        replaceWholeFile(path, QByteArrayView("page"));
        EXPECT_EQ(folder.read(name), "page") << QFile::encodeName(name).size();
        const QString scratch = QFileInfo(scratchNameBeside(path)).fileName();
        EXPECT_LE(QFile::encodeName(scratch).size(), 255);
        EXPECT_TRUE(scratch.endsWith(QStringLiteral(".tmp")));
        EXPECT_TRUE(scratch.startsWith(name.left(60)));
    }
    EXPECT_TRUE(scratchFilesIn(folder.path()).isEmpty());
}

// Scratch files a killed run left behind go at the next run, but not while a live writer has its own
// there; a user's file of another name, or a link named like one, stays.
TEST(ScratchFiles, ScratchFilesOfAKilledRunAreRemovedThoseOfALiveOneStay) {
    const test::TempFolder folder;
    const QString page = folder.file(QStringLiteral("page.html"));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileReplacement replacement(page);
        if (replacement.open()) {
            writeAll(replacement.device(), QByteArray(1000, 'x'));
            ::raise(SIGKILL);
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(scratchFilesIn(folder.path()).size(), 1);
    folder.write(QStringLiteral("notes.tmp"), "mine");
    folder.write(QStringLiteral("other"), "target");
    ASSERT_TRUE(
        QFile::link(folder.file(QStringLiteral("other")), folder.file(QStringLiteral("x.html.abcdefg.tmp"))));

    {
        FileReplacement live(folder.file(QStringLiteral("other.html")));
        ASSERT_TRUE(live.open());
        const LeftScratchFiles whileLive = removeLeftScratchFiles(folder.path());
        EXPECT_EQ(whileLive.count, 0);
        EXPECT_EQ(scratchFilesIn(folder.path()).size(), 4);
    }
    const LeftScratchFiles removed = removeLeftScratchFiles(folder.path());
    EXPECT_EQ(removed.count, 1);
    EXPECT_EQ(removed.bytes, 1000);
    EXPECT_EQ(scratchFilesIn(folder.path()),
              QStringList({QStringLiteral("notes.tmp"), QStringLiteral("x.html.abcdefg.tmp")}));
    EXPECT_FALSE(folder.exists(QStringLiteral("page.html")));
}

} // namespace
} // namespace kelvano
