#include "core/store/work_ahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>

namespace kelvano {
namespace {

TEST(WorkAhead, GivesEveryResultInOrderAndAFailureWhereItHappened) {
    std::atomic<int> highestStarted = -1;
    WorkAhead<std::unique_ptr<int>> work(
        6,
        [&highestStarted](int item) {
            highestStarted = item;
            if (item == 3) {
                throw std::runtime_error("item 3");
            }
            return std::make_unique<int>(item * 10);
        },
        2);
    for (int item = 0; item < 6; ++item) {
        if (item == 3) {
            EXPECT_THROW(work.take(), std::runtime_error);
            continue;
        }
        const std::unique_ptr<int> result = work.take();
        EXPECT_EQ(*result, item * 10);
        // Never more than two results wait beyond the one just taken.
        EXPECT_LE(highestStarted.load(), item + 3);
    }
}

TEST(WorkAhead, EndingEarlyStopsTheWorkAndDropsWhatWasNotTaken) {
    std::atomic<int> started = 0;
    {
        WorkAhead<int> work(
            1000,
            [&started](int item) {
                ++started;
                return item;
            },
            3);
        EXPECT_EQ(work.take(), 0);
    }
    EXPECT_LE(started.load(), 5);
}

} // namespace
} // namespace kelvano
