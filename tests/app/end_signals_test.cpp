#include "app/end_signals.h"
#include "core/store/settings_record.h"
#include "gui/main/main_window.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <csignal>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

// Each of the signals a system or a terminal sends to end a program ends it without a question and
// with the folder settings written.
TEST(EndSignals, TermIntAndHupEachEndTheProgramWithTheSettingsWritten) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        test::TempFolder program;
        test::DialogRecorder recorder;
        test::WindowSet windows(program.path());
        TForm1& form = windows.form1();
        form.findChild<QLineEdit*>(QStringLiteral("Edit11"))->setText(QStringLiteral("img%1/").arg(signal));
        EndSignals ending;
        QSignalSpy ended(&form, &TForm1::programEnded);
        QObject::connect(&ending, &EndSignals::endRequested, &form, &TForm1::endWithoutQuestions);
        std::raise(signal);
        EXPECT_TRUE(ended.wait(2000)) << signal;
        EXPECT_EQ(SettingsRecord::decode(program.read(QStringLiteral("TAVELO.DAT"))).ServerImagePath,
                  QStringLiteral("img%1/").arg(signal).toLatin1())
            << signal;
        EXPECT_TRUE(recorder.shown().isEmpty());
    }
}

} // namespace
} // namespace kelvano
