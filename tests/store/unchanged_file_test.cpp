#include "core/store/io_error.h"
#include "core/store/save_file.h"
#include "core/store/unchanged_file.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

namespace kelvano {
namespace {

/// A file's inode and modification time (seconds), as a file left alone keeps them.
struct Identity {
    ino_t inode = 0;
    time_t modified = 0;
    bool operator==(const Identity&) const = default;
};

Identity identityOf(const QString& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &status), 0);
    return {status.st_ino, status.st_mtime};
}

/// Writes `contents` to `path` and dates it an hour back.
void oldFile(const test::TempFolder& folder, const QString& name, QByteArrayView contents) {
    folder.write(name, contents);
    const utimbuf anHourAgo{::time(nullptr) - 3600, ::time(nullptr) - 3600};
    ::utime(QFile::encodeName(folder.file(name)).constData(), &anHourAgo);
}

QStringList filesIn(const test::TempFolder& folder) {
    return QDir(folder.path()).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
}

/// Replaces `path` through a batch, writing `contents` in pieces of `piece` bytes.
QList<ReplacementBatch::Failure> replace(const QString& path, const QByteArray& contents, qsizetype piece) {
    ReplacementBatch batch;
    batch.add(path, [&](QIODevice& device) {
        for (qsizetype at = 0; at < contents.size(); at += piece) {
            writeAll(device, QByteArrayView(contents).sliced(at, std::min(piece, contents.size() - at)));
        }
    });
    return batch.commit();
}

TEST(UnchangedFiles, AFileGivenItsOwnBytesIsLeftAloneAnyOtherBytesReplaceIt) {
    test::TempFolder folder;
    // Larger than the pieces compared at a time, with a difference in the second of them.
    QByteArray page(600 * 1024, 'p');
    for (qsizetype i = 0; i < page.size(); i += 997) {
        page[i] = char('a' + i % 26);
    }
    const QString path = folder.file(QStringLiteral("t.html"));
    for (const qsizetype piece : {qsizetype(1), qsizetype(4096), page.size()}) {
        oldFile(folder, QStringLiteral("t.html"), page);
        const Identity before = identityOf(path);
        EXPECT_TRUE(replace(path, piece == 1 ? page.first(5000) : page, piece).isEmpty());
        if (piece == 1) {
            // A new start of the old bytes is a change too: the file is cut to it.
            EXPECT_EQ(folder.read(QStringLiteral("t.html")), page.first(5000));
            continue;
        }
        EXPECT_EQ(identityOf(path), before) << piece;
        EXPECT_EQ(filesIn(folder), QStringList{QStringLiteral("t.html")});
    }

    QList<QByteArray> changed;
    for (const qsizetype at : {qsizetype(0), qsizetype(300 * 1024), page.size() - 1}) {
        QByteArray other = page;
        other[at] = '!';
        changed.append(other);
    }
    changed.append(page + "!");      // one byte more
    changed.append(page.chopped(1)); // one byte less
    changed.append(QByteArray());    // nothing
    for (const QByteArray& other : changed) {
        oldFile(folder, QStringLiteral("t.html"), page);
        const Identity before = identityOf(path);
        EXPECT_TRUE(replace(path, other, 64 * 1024).isEmpty());
        EXPECT_EQ(folder.read(QStringLiteral("t.html")), other);
        EXPECT_NE(identityOf(path), before);
        EXPECT_EQ(filesIn(folder), QStringList{QStringLiteral("t.html")});
    }

    // An empty file given nothing stays; a new file is made even when it is to hold nothing.
    oldFile(folder, QStringLiteral("e.html"), "");
    const Identity empty = identityOf(folder.file(QStringLiteral("e.html")));
    EXPECT_TRUE(replace(folder.file(QStringLiteral("e.html")), QByteArray(), 1).isEmpty());
    EXPECT_EQ(identityOf(folder.file(QStringLiteral("e.html"))), empty);
    EXPECT_TRUE(replace(folder.file(QStringLiteral("n.html")), QByteArray(), 1).isEmpty());
    EXPECT_TRUE(folder.exists(QStringLiteral("n.html")));

    // A file past the size compared is written anew, even with its own bytes.
    const QByteArray large(UnchangedFileCheck::ComparedUpTo + 1, 'L');
    oldFile(folder, QStringLiteral("large.html"), large);
    const Identity largeBefore = identityOf(folder.file(QStringLiteral("large.html")));
    EXPECT_TRUE(replace(folder.file(QStringLiteral("large.html")), large, 1 << 20).isEmpty());
    EXPECT_NE(identityOf(folder.file(QStringLiteral("large.html"))), largeBefore);
    EXPECT_EQ(folder.read(QStringLiteral("large.html")), large);
    const QByteArray limit = large.chopped(1);
    oldFile(folder, QStringLiteral("limit.html"), limit);
    const Identity limitBefore = identityOf(folder.file(QStringLiteral("limit.html")));
    EXPECT_TRUE(replace(folder.file(QStringLiteral("limit.html")), limit, 1 << 20).isEmpty());
    EXPECT_EQ(identityOf(folder.file(QStringLiteral("limit.html"))), limitBefore);

    // A link is never compared through: the page replaces it as before, the file it named stays.
    oldFile(folder, QStringLiteral("target"), "same");
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("target")), folder.file(QStringLiteral("l.html"))));
    EXPECT_TRUE(replace(folder.file(QStringLiteral("l.html")), "same", 4).isEmpty());
    EXPECT_FALSE(QFileInfo(folder.file(QStringLiteral("l.html"))).isSymLink());
    EXPECT_EQ(folder.read(QStringLiteral("l.html")), "same");
}

TEST(UnchangedFiles, AFileLeftAloneKeepsItsPlaceInTheBatchSoGivingUpDropsTheRightFiles) {
    test::TempFolder folder;
    oldFile(folder, QStringLiteral("a.html"), "a");
    oldFile(folder, QStringLiteral("b.html"), "b");
    oldFile(folder, QStringLiteral("c.html"), "c");
    const Identity a = identityOf(folder.file(QStringLiteral("a.html")));
    ReplacementBatch batch;
    const auto write = [](QByteArray bytes) {
        return [bytes](QIODevice& device) {
            writeAll(device, bytes);
        };
    };
    batch.add(folder.file(QStringLiteral("a.html")), write("a")); // unchanged
    batch.add(folder.file(QStringLiteral("b.html")), write("B"));
    const qsizetype mark = batch.size();
    EXPECT_EQ(mark, 2);
    batch.add(folder.file(QStringLiteral("c.html")), write("C"));
    batch.dropFrom(mark);
    EXPECT_TRUE(batch.commit().isEmpty());
    EXPECT_EQ(identityOf(folder.file(QStringLiteral("a.html"))), a);
    EXPECT_EQ(folder.read(QStringLiteral("b.html")), "B");
    EXPECT_EQ(folder.read(QStringLiteral("c.html")), "c");
    EXPECT_EQ(filesIn(folder).size(), 3);

    // A difference found when no scratch file can be made is an I/O error, and the file stays.
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (::geteuid() != 0) {
        ReplacementBatch refused;
        EXPECT_THROW(refused.add(folder.file(QStringLiteral("a.html")), write("A")), IoError);
        EXPECT_EQ(folder.read(QStringLiteral("a.html")), "a");
    }
    ReplacementBatch same;
    same.add(folder.file(QStringLiteral("a.html")), write("a")); // needs no scratch file
    EXPECT_TRUE(same.commit().isEmpty());
    QFile::setPermissions(folder.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace
} // namespace kelvano
