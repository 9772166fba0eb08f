#include "app/user_dialogs.h"
#include "store/io_error.h"
#include "support/dialog_recorder.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

TEST(UserDialogs, AnIoErrorEndsTheHandlerAndIsShownInTheStandardBox) {
    test::DialogRecorder recorder;
    QWidget owner;
    owner.setObjectName(QStringLiteral("Form1"));
    bool finished = false;
    UserDialogs::guarded(&owner, [&] {
        throw IoError(QStringLiteral("/data/TABLE.DAT"), QStringLiteral("No space left on device"));
        finished = true;
    });
    EXPECT_FALSE(finished);
    ASSERT_EQ(recorder.shown().size(), 1);
    const test::DialogRecorder::Shown& shown = recorder.shown().first();
    EXPECT_EQ(shown.message.caption, QStringLiteral("Kelvano"));
    EXPECT_EQ(shown.message.icon, MessageIcon::Error);
    EXPECT_TRUE(shown.message.text.contains(QStringLiteral("/data/TABLE.DAT")));
    EXPECT_TRUE(shown.message.text.contains(QStringLiteral("No space left on device")));
    EXPECT_EQ(shown.ownerName, QStringLiteral("Form1"));
}

TEST(UserDialogs, QuestionsAndColoursAreAnsweredFromTheScript) {
    test::DialogRecorder recorder;
    recorder.answerNext(true);
    recorder.chooseNext(QColor(Qt::red));
    EXPECT_TRUE(UserDialogs::askYesNo(nullptr, MessageIcon::None, QStringLiteral("設定を保存しますか？")));
    EXPECT_FALSE(UserDialogs::askYesNo(nullptr, MessageIcon::None, QStringLiteral("設定を保存しますか？")));
    EXPECT_EQ(UserDialogs::chooseColour(nullptr, Qt::white), QColor(Qt::red));
    EXPECT_EQ(UserDialogs::chooseColour(nullptr, Qt::white), std::nullopt);
    EXPECT_EQ(recorder.shown().first().message.caption, QStringLiteral("TAVELO"));
    EXPECT_TRUE(recorder.shown().first().question);
}

} // namespace
} // namespace kelvano
