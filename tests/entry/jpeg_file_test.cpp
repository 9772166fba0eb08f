#include "core/store/io_error.h"
#include "gui/entry/jpeg_file.h"
#include "jpeg_writer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

TEST(IsJpegName, ExactCaseAfterAnyDot) {
    EXPECT_TRUE(IsJpegName(u"/p/photo.jpg"));
    EXPECT_TRUE(IsJpegName(u"/p/PHOTO.JPG"));
    EXPECT_TRUE(IsJpegName(u"/p/photo.jpeg"));
    EXPECT_TRUE(IsJpegName(u"/p/PHOTO.JPEG"));
    EXPECT_FALSE(IsJpegName(u"/p/PHOTO.Jpg")) << "mixed case does not count";
    EXPECT_FALSE(IsJpegName(u"/p/photo.Jpeg"));
    EXPECT_FALSE(IsJpegName(u"/p/photo.gif"));
    EXPECT_FALSE(IsJpegName(u"/p/photo"));
    EXPECT_FALSE(IsJpegName(u"/p/photo.jp"));
    EXPECT_TRUE(IsJpegName(u"/p/photo.jpg.bak")) << "every dot is tried";
    EXPECT_TRUE(IsJpegName(u"/p/old.jpgs/photo.gif")) << "three characters after a dot are enough";
    EXPECT_TRUE(IsJpegName(u"/p.JPG/x"));
    EXPECT_FALSE(IsJpegName(u""));
}

TEST(JpegDecoder, DecodesAPictureAtItsSize) {
    QString error;
    const QImage picture = decodeJpeg(test::jpegBytes(400, 120, QColor(200, 30, 40)), &error);
    ASSERT_FALSE(picture.isNull()) << error.toStdString();
    EXPECT_EQ(picture.size(), QSize(400, 120));
    const QColor pixel = picture.pixelColor(200, 60);
    EXPECT_NEAR(pixel.red(), 200, 6);
    EXPECT_NEAR(pixel.green(), 30, 6);
    EXPECT_NEAR(pixel.blue(), 40, 6);
}

TEST(JpegDecoder, CmykPicturesComeOutAsRgb) {
    // Red: no cyan, full magenta and yellow, no black; stored inverted.
    const unsigned char red[4] = {255, 0, 0, 255};
    QString error;
    const QImage picture = decodeJpeg(test::cmykJpegBytes(16, 16, red), &error);
    ASSERT_FALSE(picture.isNull()) << error.toStdString();
    const QColor pixel = picture.pixelColor(8, 8);
    EXPECT_NEAR(pixel.red(), 255, 6);
    EXPECT_NEAR(pixel.green(), 0, 6);
    EXPECT_NEAR(pixel.blue(), 0, 6);
}

// The preview needs 170 x 170 pixels: a picture is decoded as small as still covers them.
TEST(JpegDecoder, ThePreviewDecodesReducedAsFarAsThePictureStillCoversIt) {
    const QSize cover(170, 170);
    QString error;
    EXPECT_EQ(decodeJpeg(test::jpegBytes(800, 600, Qt::blue), &error, cover).size(), QSize(400, 300));
    EXPECT_EQ(decodeJpeg(test::jpegBytes(400, 120, Qt::blue), &error, cover).size(), QSize(400, 120))
        << "a side shorter than the area keeps the picture whole";
    EXPECT_EQ(decodeJpeg(test::jpegBytes(800, 600, Qt::blue), &error).size(), QSize(800, 600));
}

// A 209-byte file that claims 1519 x 56044 pixels cost 600 MB and a second; one claiming
// 10000 x 10000 asked for 300 MB twice over.
TEST(JpegDecoder, HugeDeclaredSizesAreDecodedReducedOrRefused) {
    const QSize cover(170, 170);
    QString error;
    const QByteArray tall = test::withDeclaredSize(test::jpegBytes(16, 16, Qt::red), 1519, 56044);
    const QImage tallPicture = decodeJpeg(tall, &error, cover);
    ASSERT_FALSE(tallPicture.isNull()) << error.toStdString();
    EXPECT_EQ(tallPicture.size(), QSize(190, 7006));

    const QByteArray square = test::withDeclaredSize(test::jpegBytes(16, 16, Qt::red), 10000, 10000);
    EXPECT_EQ(decodeJpeg(square, &error, cover).size(), QSize(1250, 1250));
    // At full size it would be more than the preview may spend.
    EXPECT_TRUE(decodeJpeg(square, &error).isNull());
    EXPECT_FALSE(error.isEmpty());

    // A progressive file keeps every coefficient of the full picture whatever the scale: refused
    // unless small enough.
    error.clear();
    const QByteArray progressive = test::progressiveJpegBytes(64, 48, Qt::green);
    EXPECT_EQ(decodeJpeg(test::withDeclaredSize(progressive, 10000, 10000), &error, cover), QImage());
    EXPECT_TRUE(error.contains(QStringLiteral("10000 x 10000"))) << error.toStdString();
    EXPECT_EQ(decodeJpeg(progressive, &error, cover).size(), QSize(64, 48));
}

TEST(JpegDecoder, APictureCutShortShowsWhatDecoded) {
    const QByteArray whole = test::jpegBytes(64, 256, QColor(200, 30, 40));
    QString error;
    // Cut in the middle of the picture data, after the start-of-scan marker.
    const qsizetype scan = whole.indexOf("\xFF\xDA");
    ASSERT_GT(scan, 0);
    const QImage picture = decodeJpeg(whole.left(scan + (whole.size() - scan) / 2), &error);
    ASSERT_FALSE(picture.isNull()) << error.toStdString();
    EXPECT_EQ(picture.size(), QSize(64, 256));
    EXPECT_NEAR(picture.pixelColor(10, 10).red(), 200, 6);
}

TEST(JpegDecoder, DamagedDataIsAnErrorWithTheDecodersMessage) {
    QString error;
    EXPECT_TRUE(decodeJpeg("this is no picture", &error).isNull());
    EXPECT_FALSE(error.isEmpty());

    QByteArray headerOnly = test::jpegBytes(64, 64, Qt::white).left(20);
    EXPECT_TRUE(decodeJpeg(headerOnly, &error).isNull());
    EXPECT_TRUE(decodeJpeg({}, &error).isNull());

    test::TempFolder folder;
    folder.write(QStringLiteral("bad.jpg"), "not a jpeg at all");
    try {
        decodeJpegFile(folder.file(QStringLiteral("bad.jpg")));
        ADD_FAILURE() << "no error";
    } catch (const IoError& failure) {
        EXPECT_EQ(failure.path(), folder.file(QStringLiteral("bad.jpg")));
        EXPECT_FALSE(failure.reason().isEmpty());
    }
    EXPECT_THROW(decodeJpegFile(folder.file(QStringLiteral("missing.jpg"))), IoError);
}

TEST(JpegDecoder, ManyFailuresInARowLeaveTheDecoderWorking) {
    QString error;
    for (int attempt = 0; attempt < 50; ++attempt) {
        EXPECT_TRUE(decodeJpeg(QByteArray("\xFF\xD8\xFF\xE0 broken", 12), &error).isNull());
    }
    EXPECT_FALSE(decodeJpeg(test::jpegBytes(8, 8, Qt::blue), &error).isNull());
}

} // namespace
} // namespace kelvano
