#include "core/store/settings_file.h"
#include "core/store/shift_jis.h"
#include "gui/main/main_window.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"
#include "support/window_set.h"

#include <QDir>
#include <QLineEdit>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::sjis;

/// A program folder brought from a Windows computer: its TAVELO.DAT names the folders there.
class MovingIn : public testing::Test {
protected:
    void writeWindowsSettings() const {
        program.write(QStringLiteral("TAVELO.DAT"),
                      SettingsRecord{"D:\\Web\\Tables\\DATA\\", "D:\\Web\\Tables\\HTML\\",
                                     "D:\\Web\\Tables\\HTML\\GRPH\\", "GRPH/"}
                          .encode());
    }

    test::TempFolder program;
    test::DialogRecorder recorder;
};

TEST_F(MovingIn, StoredWindowsFoldersCreateNothingInTheWorkingFolder) {
    writeWindowsSettings();
    const test::WorkingFolder working;
    {
        test::WindowSet windows(program.path());
        TForm1& form = windows.form1();
        EXPECT_EQ(test::edit(form, "Edit1")->text(), QStringLiteral("D:\\Web\\Tables\\DATA\\"));
        EXPECT_EQ(test::listView(form, "ListView3")->rowCount(), 0);
        form.close();
    }
    EXPECT_EQ(working.entries(), QStringList());
    // The settings stay as they were: nothing was mapped without the user's word.
    EXPECT_EQ(SettingsFile::read(program.path()).DataFolder, "D:\\Web\\Tables\\DATA\\");
}

} // namespace
} // namespace kelvano
