#include "core/store/io_error.h"
#include "core/store/save_file.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

/// Calls the system's syncs and renames and notes each as "sync a.html~" (a scratch file beside
/// a.html), "syncfs folder" or "rename a.html~ a.html"; from the `failFrom`-th sync on, syncs fail
/// with EIO.
class RecordingCalls : public FileSyncCalls {
public:
    RecordingCalls() : m_replaced(FileSyncCalls::install(this)) {}
    ~RecordingCalls() override { FileSyncCalls::install(m_replaced); }

    int syncFile(int descriptor, const QString& path) override {
        return sync(QStringLiteral("sync "), path, [&] { return FileSyncCalls::syncFile(descriptor, path); });
    }
    int syncFileSystem(int descriptor, const QString& path) override {
        return sync(QStringLiteral("syncfs "), path,
                    [&] { return FileSyncCalls::syncFileSystem(descriptor, path); });
    }
    int rename(const QString& from, const QString& to) override {
        events.append(QStringLiteral("rename ") + label(from) + QLatin1Char(' ') + label(to));
        return FileSyncCalls::rename(from, to);
    }

    QStringList events;
    int failFrom = 0;

private:
    template <typename Call> int sync(const QString& kind, const QString& path, Call call) {
        events.append(kind + label(path));
        ++m_syncs;
        return failFrom > 0 && m_syncs >= failFrom ? EIO : call();
    }
    static QString label(const QString& path) {
        if (QFileInfo(path).isDir()) {
            return QStringLiteral("folder");
        }
        static const QRegularExpression scratch(QStringLiteral("\\.[0-9a-z]{7}\\.tmp$"));
        return QFileInfo(path).fileName().replace(scratch, QStringLiteral("~"));
    }

    FileSyncCalls* m_replaced;
    int m_syncs = 0;
};

QStringList pageNames(int count) {
    QStringList names;
    for (int i = 0; i < count; ++i) {
        names.append(QStringLiteral("p%1.html").arg(i));
    }
    return names;
}

QStringList renamesOf(const QStringList& names) {
    QStringList renames;
    for (const QString& name : names) {
        renames.append(QStringLiteral("rename %1~ %1").arg(name));
    }
    return renames;
}

/// Writes "old" into each page, then "new" through one batch; the failures of its commit.
QList<ReplacementBatch::Failure> replacePages(const test::TempFolder& folder, const QStringList& names) {
    ReplacementBatch batch;
    for (const QString& name : names) {
        folder.write(name, "old");
        batch.add(folder.file(name), [](QIODevice& device) { writeAll(device, "new"); });
    }
    return batch.commit();
}

// A file is renamed into place only after its contents are on disk, and the folder is synced after
// the rename, so that a crash leaves the old file or the whole new one.
TEST(SyncOrder, ContentsAreOnDiskBeforeTheRenameAndTheFolderAfter) {
    test::TempFolder folder;
    RecordingCalls calls;
    replaceWholeFile(folder.file(QStringLiteral("a.html")), "new");
    EXPECT_EQ(calls.events,
              (QStringList{QStringLiteral("sync a.html~"), QStringLiteral("rename a.html~ a.html"),
                           QStringLiteral("sync folder")}));

    // Four pages are synced one by one, five with one sync of their file system.
    for (const int count : {1, 4, 5}) {
        const test::TempFolder pages;
        calls.events.clear();
        const QStringList names = pageNames(count);
        EXPECT_TRUE(replacePages(pages, names).isEmpty());
        QStringList expected;
        for (const QString& name : names) {
            if (count <= 4) {
                expected.append(QStringLiteral("sync %1~").arg(name));
            }
        }
        if (count > 4) {
            expected.append(QStringLiteral("syncfs folder"));
        }
        expected += renamesOf(names);
        expected.append(QStringLiteral("sync folder"));
        EXPECT_EQ(calls.events, expected) << count;
        EXPECT_EQ(pages.read(names.last()), "new");
    }
}

// When a sync fails nothing is renamed: every page keeps its old file and is reported, also those
// whose own sync went well before the failing one.
TEST(SyncOrder, AFailedSyncReplacesNothingAndReportsEveryFile) {
    {
        test::TempFolder folder;
        folder.write(QStringLiteral("a.html"), "old");
        RecordingCalls calls;
        calls.failFrom = 1;
        try {
            replaceWholeFile(folder.file(QStringLiteral("a.html")), "new");
            ADD_FAILURE() << "no error";
        } catch (const IoError& error) {
            EXPECT_EQ(error.errorNumber(), EIO);
        }
        EXPECT_EQ(calls.events, QStringList{QStringLiteral("sync a.html~")});
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.html")});
        EXPECT_EQ(folder.read(QStringLiteral("a.html")), "old");
    }
    for (const int count : {2, 5}) {
        test::TempFolder folder;
        RecordingCalls calls;
        calls.failFrom = count == 2 ? 2 : 1;
        const QStringList names = pageNames(count);
        const QList<ReplacementBatch::Failure> failures = replacePages(folder, names);
        ASSERT_EQ(failures.size(), count);
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(failures[i].path, folder.file(names[i]));
            EXPECT_EQ(failures[i].error.errorNumber(), EIO);
            EXPECT_EQ(folder.read(names[i]), "old");
        }
        EXPECT_FALSE(calls.events.join(QLatin1Char('\n')).contains(QStringLiteral("rename"))) << count;
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), names);
    }
}

} // namespace
} // namespace kelvano
