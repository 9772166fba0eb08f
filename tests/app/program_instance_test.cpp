#include "app/program_instance.h"
#include "support/temp_folder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLockFile>
#include <QSignalSpy>
#include <atomic>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kelvano {
namespace {

/// A second start on `folder`, made on a thread of its own (as another process would) while this
/// one's event loop answers it.
ProgramInstance::Start startAgain(const QString& folder) {
    std::atomic<bool> done = false;
    ProgramInstance::Start start = ProgramInstance::Start::First;
    std::thread starting([&] {
        ProgramInstance copy(folder);
        start = copy.claim();
        done = true;
    });
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    starting.join();
    return start;
}

TEST(ProgramInstance, ASecondStartOnTheSameFolderRaisesTheFirstAndEnds) {
    test::TempFolder folder;
    test::TempFolder elsewhere;
    const QString programFolder = folder.path() + u'/';
    auto first = std::make_unique<ProgramInstance>(programFolder);
    ASSERT_EQ(first->claim(), ProgramInstance::Start::First);
    first->listen();
    QSignalSpy raised(first.get(), &ProgramInstance::raiseRequested);

    EXPECT_EQ(startAgain(programFolder), ProgramInstance::Start::RunningCopyRaised);
    EXPECT_EQ(raised.count(), 1);
    // Another program folder runs side by side.
    EXPECT_EQ(startAgain(elsewhere.path() + u'/'), ProgramInstance::Start::First);
    EXPECT_EQ(raised.count(), 1);

    // A copy that holds the folder but does not answer: the second start says so.
    first.reset();
    ProgramInstance silent(programFolder);
    ASSERT_EQ(silent.claim(), ProgramInstance::Start::First);
    EXPECT_EQ(startAgain(programFolder), ProgramInstance::Start::RunningCopyUnreachable);
}

TEST(ProgramInstance, TheLockOfACopyThatCrashedIsTakenOver) {
    test::TempFolder folder;
    const QString programFolder = folder.path() + u'/';
    // A copy that ends without releasing its lock, as a crash or a kill leaves it.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(programFolder + ProgramInstance::LockFileName);
        ::_exit(lock.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(folder.exists(ProgramInstance::LockFileName));

    ProgramInstance next(programFolder);
    EXPECT_EQ(next.claim(), ProgramInstance::Start::First);
}

} // namespace
} // namespace kelvano
