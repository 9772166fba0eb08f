#include "core/store/io_error.h"
#include "gui/base/qt_dialog_sink.h"
#include "gui/base/qt_translation.h"
#include "gui/base/user_dialogs.h"
#include "support/dialog_recorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
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

/// Acts on the next modal dialog once it is shown: the program's own dialogs run their own event loop.
void whenModalShown(const std::function<void(QWidget*)>& act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start();
}

/// The program's own dialogs for the length of a test.
class RealDialogs {
public:
    RealDialogs() : m_previous(UserDialogs::setSink(std::make_unique<QtDialogSink>())) {}
    ~RealDialogs() { UserDialogs::setSink(std::move(m_previous)); }

private:
    std::unique_ptr<DialogSink> m_previous;
};

TEST(UserDialogs, QuestionsAndColoursAreAnsweredInTheProgramsOwnDialogs) {
    RealDialogs real;
    QString caption;
    QMessageBox::StandardButtons buttons;
    const auto answerNext = [&](QMessageBox::StandardButton choice) {
        whenModalShown([&caption, &buttons, choice](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            caption = box->windowTitle();
            buttons = box->standardButtons();
            EXPECT_GE(box->width(), 260) << "room for the caption beside a window manager's buttons";
            box->button(choice)->click();
        });
    };
    // Enter presses the default button the question names.
    const auto pressEnterNext = [&]() {
        whenModalShown([&buttons](QWidget* modal) {
            buttons = qobject_cast<QMessageBox*>(modal)->standardButtons();
            QTest::keyClick(modal, Qt::Key_Return);
        });
    };
    const auto chooseNext = [](std::optional<QColor> colour) {
        whenModalShown([colour](QWidget* modal) {
            auto* dialog = qobject_cast<QColorDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            if (colour) {
                dialog->setCurrentColor(*colour);
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
    };
    const QString question = QStringLiteral("設定を保存しますか？");
    answerNext(QMessageBox::Yes);
    EXPECT_TRUE(UserDialogs::askYesNo(nullptr, MessageIcon::None, question, Answer::No));
    EXPECT_EQ(caption, QStringLiteral("TAVELO"));
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
    answerNext(QMessageBox::No);
    EXPECT_FALSE(UserDialogs::askYesNo(nullptr, MessageIcon::None, question, Answer::Yes));
    pressEnterNext();
    EXPECT_TRUE(UserDialogs::askYesNo(nullptr, MessageIcon::None, question, Answer::Yes));
    pressEnterNext();
    EXPECT_FALSE(UserDialogs::askYesNo(nullptr, MessageIcon::None, question, Answer::No));
    pressEnterNext();
    EXPECT_EQ(UserDialogs::askYesNoCancel(nullptr, MessageIcon::None, question, Answer::No), Answer::No);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    chooseNext(QColor(Qt::red));
    EXPECT_EQ(UserDialogs::chooseColour(nullptr, Qt::white), QColor(Qt::red));
    chooseNext(std::nullopt);
    EXPECT_EQ(UserDialogs::chooseColour(nullptr, Qt::white), std::nullopt);
}

TEST(UserDialogs, QtsOwnButtonsSpeakJapaneseAndBoxesStandOverTheOwnersWindow) {
    ASSERT_TRUE(installQtTranslation(QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, QStringLiteral("TAVELO"), QStringLiteral("設定を保存しますか？"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().contains(QStringLiteral("いいえ")));
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().contains(QStringLiteral("キャンセル")));

    QWidget owner;
    auto* field = new QLineEdit(&owner);
    owner.show();
    EXPECT_EQ(dialogParent(field), &owner);
    // A hidden window's place is no place for a box: the active window, or the screen's centre.
    QWidget hidden;
    EXPECT_EQ(dialogParent(&hidden), QApplication::activeWindow());
    EXPECT_NE(dialogParent(&hidden), &hidden);
}

} // namespace
} // namespace kelvano
