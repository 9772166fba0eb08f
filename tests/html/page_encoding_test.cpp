#include "core/html/page_encoding.h"
#include "core/html/page_output.h"
#include "core/store/program_settings.h"
#include "support/temp_folder.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::hexBytes;

QByteArray recodedInPieces(const QList<QByteArray>& pieces) {
    Utf8Recoder recoder;
    QByteArray out;
    for (const QByteArray& piece : pieces) {
        recoder.recode(piece, out);
    }
    recoder.finish(out);
    return out;
}

TEST(Utf8Recoding, EveryByteBecomesUtf8AndBrokenSequencesTheReplacementCharacter) {
    // 表 (95 5C), half-width ｶ (B6), ASCII, CR LF.
    EXPECT_EQ(recodedInPieces({hexBytes("955c b6 41 0d0a")}), hexBytes("e8a1a8 efbdb6 41 0d0a"));
    // A double-byte character cut between two pieces comes out whole.
    EXPECT_EQ(recodedInPieces({hexBytes("41 95"), hexBytes("5c 42")}), hexBytes("41 e8a1a8 42"));
    // A first byte before a byte that cannot follow it, and one left alone at the very end.
    EXPECT_EQ(recodedInPieces({hexBytes("81 0d0a"), hexBytes("41 81")}), hexBytes("efbfbd 0d0a 41 efbfbd"));
}

TEST(Utf8Recoding, OnlyShiftJisNamesAfterCharsetBecomeUtf8) {
    const QList<std::pair<QByteArray, QByteArray>> cases{
        {R"(<meta charset="Shift_JIS">)", R"(<meta charset="UTF-8">)"},
        {R"(<META HTTP-EQUIV="Content-Type" CONTENT="text/html; CHARSET=SHIFT_JIS">)",
         R"(<META HTTP-EQUIV="Content-Type" CONTENT="text/html; CHARSET=UTF-8">)"},
        {"charset='x-sjis' charset=sjis;charset=Windows-31J charset=cp932>",
         "charset='UTF-8' charset=UTF-8;charset=UTF-8 charset=UTF-8>"},
        {"charset=MS_Kanji charset=csShiftJIS charset=shift-jis",
         "charset=UTF-8 charset=UTF-8 charset=UTF-8"},
        // Not a whole name, not one of the names, not after charset=, or a blank between.
        {"charset=sjisx charset=shift_jis2 charset=euc-jp charset = sjis sjis", //
         "charset=sjisx charset=shift_jis2 charset=euc-jp charset = sjis sjis"},
        {"", ""},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(rewriteCharsetNames(line), expected) << line.toStdString();
    }
    // A double-byte character ends the name; a second byte never starts "charset=".
    EXPECT_EQ(rewriteCharsetNames("charset=sjis" + test::Hyo), "charset=UTF-8" + test::Hyo);
    EXPECT_EQ(declaredCharset(R"(<meta charset="utf-8">)"), "utf-8");
    EXPECT_EQ(declaredCharset("<p>no declaration</p>"), "");
}

TEST(Utf8Recoding, PageOutputRecodesAcrossItsPieces) {
    QBuffer device;
    device.open(QIODevice::WriteOnly);
    PageOutput page(device, PageEncoding::Utf8);
    // Pieces that each end in the first byte of 表, so that the output is flushed with one open.
    const QByteArray piece = hexBytes("5c") + test::Hyo.repeated(999) + hexBytes("95");
    page.write(hexBytes("95"));
    for (int i = 0; i < 100; ++i) {
        page.write(piece);
    }
    page.writeLine(hexBytes("5c"));
    const QByteArray expected = hexBytes("e8a1a8").repeated(100 * 1000 + 1) + "\r\n";
    page.write(hexBytes("95"));
    page.finish();
    EXPECT_EQ(device.data(), expected + hexBytes("efbfbd"));
}

TEST(PageEncodingSetting, LivesInKelvanoIniBesideTheSettings) {
    test::TempFolder folder;
    EXPECT_EQ(ProgramSettings::pageEncoding(folder.path()), PageEncoding::ShiftJis);
    EXPECT_FALSE(folder.exists(QStringLiteral("KELVANO.INI")));

    ASSERT_TRUE(ProgramSettings::setPageEncoding(folder.path(), PageEncoding::Utf8));
    EXPECT_EQ(folder.read(QStringLiteral("KELVANO.INI")), "[Pages]\nEncoding=UTF-8\n");
    EXPECT_EQ(ProgramSettings::pageEncoding(folder.path()), PageEncoding::Utf8);

    // Other keys stay; names are read without regard to case; anything else is the default.
    folder.write(QStringLiteral("KELVANO.INI"), "[Other]\nKey=1\n[Pages]\nEncoding=utf-8\n");
    EXPECT_EQ(ProgramSettings::pageEncoding(folder.path()), PageEncoding::Utf8);
    ASSERT_TRUE(ProgramSettings::setPageEncoding(folder.path(), PageEncoding::ShiftJis));
    EXPECT_EQ(folder.read(QStringLiteral("KELVANO.INI")), "[Other]\nKey=1\n\n[Pages]\nEncoding=Shift_JIS\n");
    folder.write(QStringLiteral("KELVANO.INI"), "[Pages]\nEncoding=EUC-JP\n");
    EXPECT_EQ(ProgramSettings::pageEncoding(folder.path()), PageEncoding::ShiftJis);
}

TEST(PageMarkupSetting, LivesInKelvanoIniBesideTheEncoding) {
    test::TempFolder folder;
    EXPECT_EQ(ProgramSettings::pageMarkup(folder.path()), PageMarkup::Classic);
    folder.write(QStringLiteral("KELVANO.INI"), "[Pages]\nEncoding=UTF-8\nMarkup=html5\n");
    EXPECT_EQ(ProgramSettings::pageMarkup(folder.path()), PageMarkup::Html5);
    ASSERT_TRUE(ProgramSettings::setPageMarkup(folder.path(), PageMarkup::Classic));
    EXPECT_EQ(folder.read(QStringLiteral("KELVANO.INI")), "[Pages]\nEncoding=UTF-8\nMarkup=Classic\n");
    ASSERT_TRUE(ProgramSettings::setPageMarkup(folder.path(), PageMarkup::Html5));
    EXPECT_EQ(folder.read(QStringLiteral("KELVANO.INI")), "[Pages]\nEncoding=UTF-8\nMarkup=HTML5\n");
    folder.write(QStringLiteral("KELVANO.INI"), "[Pages]\nMarkup=XHTML\n");
    EXPECT_EQ(ProgramSettings::pageMarkup(folder.path()), PageMarkup::Classic);
}

} // namespace
} // namespace kelvano
