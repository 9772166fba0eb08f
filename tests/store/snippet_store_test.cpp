#include "core/store/snippet_store.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

QList<QByteArray> choiceItems(const QList<SnippetEntry>& entries) {
    QList<QByteArray> items;
    for (const SnippetEntry& entry : entries) {
        items.append(entry.choiceItem());
    }
    return items;
}

TEST(SnippetStore, NumbersStayStableAcrossDeletes) {
    test::TempFolder folder;
    const SnippetStore headers(folder.path(), SnippetKind::Header);
    ASSERT_EQ(headers.loadEntries(), QList<SnippetEntry>{});
    EXPECT_EQ(folder.read(QStringLiteral("HEAD.DAT")).size(), 0);

    EXPECT_EQ(headers.registerSnippet("Top", {"<html>", "<body>"}), 0);
    EXPECT_EQ(headers.registerSnippet("Mid", {}), 1);
    EXPECT_EQ(headers.registerSnippet(test::So + "2", {"x"}), 2);
    ASSERT_TRUE(headers.remove(1));

    const QList<SnippetEntry> entries = *headers.loadEntries();
    EXPECT_EQ(choiceItems(entries), (QList<QByteArray>{"0:Top", "2:" + test::So + "2"}));
    EXPECT_EQ(headers.registerSnippet("Next", {"n"}), 3);
    EXPECT_EQ(folder.read(QStringLiteral("HEAD.3")), "n\r\n");

    // The deleted snippet keeps its record and body; a snippet saved empty has a body of 0 bytes.
    EXPECT_EQ(folder.read(QStringLiteral("HEAD.DAT")).size(), 4 * 82);
    EXPECT_EQ(folder.read(QStringLiteral("HEAD.DAT")).at(82 + 81), 1);
    EXPECT_EQ(folder.read(QStringLiteral("HEAD.1")).size(), 0);
    EXPECT_EQ(headers.read(1)->body, QList<QByteArray>{});
    EXPECT_EQ(folder.read(QStringLiteral("HEAD.0")), "<html>\r\n<body>\r\n");
}

TEST(SnippetStore, NamesAreCutAndChangesKeepTheRegisteredName) {
    test::TempFolder folder;
    const SnippetStore headers(folder.path(), SnippetKind::Header);
    headers.loadEntries();
    ASSERT_EQ(headers.registerSnippet(QByteArray(100, 'n'), {"old"}), 0);
    EXPECT_EQ(folder.read(QStringLiteral("HEAD.DAT")), char(80) + QByteArray(80, 'n') + '\0');

    headers.change(0, {"new", "", "body"});
    const Snippet snippet = *headers.read(0);
    EXPECT_EQ(snippet.name, QByteArray(80, 'n'));
    EXPECT_EQ(snippet.body, (QList<QByteArray>{"new", "", "body"}));
}

TEST(SnippetStore, HeadersAndFootersNumberIndependently) {
    test::TempFolder folder;
    const SnippetStore headers(folder.path(), SnippetKind::Header);
    const SnippetStore footers(folder.path(), SnippetKind::Footer);
    headers.loadEntries();
    footers.loadEntries();
    EXPECT_EQ(headers.registerSnippet("h", {"head"}), 0);
    EXPECT_EQ(footers.registerSnippet("f", {"foot"}), 0);
    EXPECT_EQ(folder.read(QStringLiteral("HEAD.0")), "head\r\n");
    EXPECT_EQ(folder.read(QStringLiteral("FOOT.0")), "foot\r\n");
    EXPECT_EQ(footers.loadEntries()->first().name, "f");
}

TEST(SnippetStore, DamagedOrMissingFilesAreAnsweredNotCrashedOn) {
    test::TempFolder folder;
    const SnippetStore headers(folder.path(), SnippetKind::Header);
    // Without an index nothing can be read, registered or deleted, and nothing is written.
    EXPECT_EQ(headers.read(0), std::nullopt);
    EXPECT_EQ(headers.registerSnippet("x", {"x"}), std::nullopt);
    EXPECT_FALSE(headers.remove(0));
    EXPECT_FALSE(folder.exists(QStringLiteral("HEAD.DAT")));
    EXPECT_FALSE(folder.exists(QStringLiteral("HEAD.0")));

    // An incomplete last record is not listed and the next snippet is written over it.
    QByteArray index = SnippetIndexRecord{"a", false}.encode();
    index[0] = char(0xC8); // length byte above the capacity reads as 80
    folder.write(QStringLiteral("HEAD.DAT"), index + "\x02zz");
    EXPECT_EQ(headers.loadEntries()->size(), 1);
    EXPECT_EQ(headers.loadEntries()->first().name.size(), 80);
    EXPECT_EQ(headers.registerSnippet("b", {}), 1);
    EXPECT_EQ(folder.read(QStringLiteral("HEAD.DAT")).size(), 164);

    // A body file that is missing is told apart from an empty one.
    QFile::remove(folder.file(QStringLiteral("HEAD.1")));
    EXPECT_EQ(headers.read(1)->body, std::nullopt);
    EXPECT_EQ(headers.read(1)->name, "b");

    // The list hidden in a folder that cannot hold files: no index can be made.
    const SnippetStore nowhere(folder.file(QStringLiteral("missing/")), SnippetKind::Footer);
    EXPECT_EQ(nowhere.loadEntries(), std::nullopt);
}

} // namespace
} // namespace kelvano
