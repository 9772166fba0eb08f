#include "core/store/read_ahead.h"
#include "core/store/work_ahead.h"
#include "support/temp_folder.h"

#include <QFile>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace kelvano {
namespace {

using namespace std::chrono_literals;

// Once the worker has settled, exactly `ahead` results wait beyond the ones taken: the highest item
// started is the number taken + ahead - 1, never one more.
TEST(ReadAheadBound, WorkGoesExactlyAsFarAheadAsAsked) {
    for (const int ahead : {1, 2}) {
        std::mutex mutex;
        std::condition_variable started;
        int highest = -1;
        WorkAhead<int> work(
            8,
            [&](int item) {
                {
                    const std::lock_guard lock(mutex);
                    highest = item;
                }
                started.notify_all();
                return item;
            },
            ahead);
        for (int taken = 0; taken < 4; ++taken) {
            const int expected = taken + ahead - 1;
            std::unique_lock lock(mutex);
            EXPECT_TRUE(started.wait_for(lock, 10s, [&] { return highest >= expected; }));
            // Time for the worker to go a step too far, if it would.
            started.wait_for(lock, 50ms, [&] { return highest > expected; });
            EXPECT_EQ(highest, expected) << "ahead " << ahead << ", taken " << taken;
            lock.unlock();
            EXPECT_EQ(work.take(), taken);
        }
    }
}

// The block the reader holds is never filled again while it holds it, however long it holds it: the
// thread stays at most the ring's other blocks ahead.
TEST(ReadAheadBound, AHeldBlockStaysAsItWasWhileTheThreadReadsOn) {
    test::TempFolder folder;
    constexpr qsizetype BlockSize = 4096;
    constexpr int Blocks = 6;
    QByteArray contents;
    for (int i = 0; i < Blocks; ++i) {
        contents += QByteArray(BlockSize, char('a' + i));
    }
    folder.write(QStringLiteral("t.TBL"), contents);
    const int descriptor =
        ::open(QFile::encodeName(folder.file(QStringLiteral("t.TBL"))).constData(), O_RDONLY);
    ASSERT_GE(descriptor, 0);
    {
        FileReadAhead blocks(descriptor, folder.path(), BlockSize);
        for (int i = 0; i < Blocks; ++i) {
            const QByteArrayView block = blocks.next();
            const QByteArray expected(BlockSize, char('a' + i));
            const auto until = std::chrono::steady_clock::now() + 50ms;
            do {
                ASSERT_TRUE(block == QByteArrayView(expected)) << "block " << i;
                std::this_thread::yield();
            } while (std::chrono::steady_clock::now() < until);
        }
        EXPECT_TRUE(blocks.next().isEmpty());
    }
    ::close(descriptor);
}

} // namespace
} // namespace kelvano
