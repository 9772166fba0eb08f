#include "core/store/io_error.h"
#include "gui/base/user_dialogs.h"
#include "gui/components/zel_string_ex.h"
#include "support/dialog_recorder.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

TEST(ZelStringEX, MessageBoxesShowTheValueCaptionedForTheComponent) {
    test::DialogRecorder recorder;
    QWidget window;
    window.setObjectName(QStringLiteral("Form3"));
    const auto* component = new ZelStringEX(&window);

    component->bytebox(&window, 255);
    component->wordbox(&window, 65535);
    component->longbox(&window, -2147483647 - 1);
    component->intbox(&window, -9999);
    component->strbox(&window, "\\1,980 " + test::Hyo);
    component->realbox(&window, 1.5);

    EXPECT_EQ(recorder.texts(),
              (QStringList{QStringLiteral("255"), QStringLiteral("65535"), QStringLiteral("-2147483648"),
                           QStringLiteral("-9999"), QStringLiteral("\\1,980 表"),
                           QStringLiteral(" 1.50000000000000E+0000")}));
    for (const test::DialogRecorder::Shown& shown : recorder.shown()) {
        EXPECT_EQ(shown.message.caption, QStringLiteral("ZELSTRINGEX MESSAGE"));
        EXPECT_EQ(shown.message.icon, MessageIcon::None);
        EXPECT_EQ(shown.ownerName, QStringLiteral("Form3"));
        EXPECT_FALSE(shown.question);
    }
}

TEST(ZelStringEX, TheOwnerReadsTheFieldsOfTheLastSplitLine) {
    QWidget window;
    auto* component = new ZelStringEX(&window);
    EXPECT_EQ(component->parent(), &window);
    EXPECT_EQ(component->csvcount, 0);

    component->discsv("1998/03/15,\"\\1,980\",memo");
    ASSERT_EQ(component->csvcount, 3);
    EXPECT_EQ(component->nextdate(component->csvfield[1]), 6645);
    EXPECT_EQ(component->dtoc(component->yencut(component->csvfield[2]).toInt()), "1,980");
    EXPECT_EQ(component->spastr(component->csvfield[3], 6), "memo  ");
    EXPECT_EQ(component->hex3(0x0080FF), "0080FF");
}

TEST(ZelStringEX, ALineFilterFailureReachesTheStandardErrorBox) {
    test::DialogRecorder recorder;
    test::TempFolder folder;
    folder.write(QStringLiteral("list.txt"), "a\r\n");
    QWidget window;
    const auto* component = new ZelStringEX(&window);
    {
        const test::FileSizeLimit limit(4096);
        UserDialogs::guarded(&window, [&] {
            component->FExline(folder.file(QStringLiteral("list.txt")), "a", QByteArray(8000, 'b'));
        });
    }
    ASSERT_EQ(recorder.shown().size(), 1);
    EXPECT_EQ(recorder.shown().first().message.caption, QStringLiteral("Kelvano"));
    EXPECT_EQ(folder.read(QStringLiteral("list.txt")), "a\r\n");
    EXPECT_FALSE(folder.exists(QStringLiteral("ZSTREX.TMP")));
}

} // namespace
} // namespace kelvano
