#include "core/publish/upload_files.h"
#include "core/publish/upload_manifest.h"
#include "core/publish/upload_plan.h"
#include "core/store/program_settings.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"
#include "support/temp_folder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

const QByteArray DigestA(64, 'a');
const QByteArray DigestB(64, 'b');

TEST(UploadManifest, LaterLinesWinAndACutLineOrAStrangeOneIsSkipped) {
    test::TempFolder folder;
    const QString path = folder.file(QStringLiteral("SENT.TXT"));
    {
        UploadManifest manifest(path, QStringLiteral("sftp://u@h:22/"));
        manifest.open(); // no file yet: empty
        EXPECT_TRUE(manifest.files().isEmpty());
        manifest.recordSent(QStringLiteral("a.html"), {UploadFileKind::Page, 10, DigestA});
        manifest.recordSent(QStringLiteral("grph/x y.jpg"), {UploadFileKind::Picture, 0, DigestB});
        manifest.recordSent(QStringLiteral("a.html"), {UploadFileKind::Page, 11, DigestB});
        manifest.recordRemoved(QStringLiteral("grph/x y.jpg"));
    }
    QByteArray bytes = folder.read(QStringLiteral("SENT.TXT"));
    EXPECT_TRUE(bytes.startsWith("# Kelvano upload manifest 1\n# sftp://u@h:22/\nsent\tpage\t10\t"));
    // A line whose digest is short, an unknown kind, a negative size, and a last line cut short.
    bytes += "sent\tpage\t5\tabc\tshort.html\n";
    bytes += "sent\tmovie\t5\t" + DigestA + "\tm.html\n";
    bytes += "sent\tpage\t-1\t" + DigestA + "\tneg.html\n";
    bytes += "sent\tpage\t7\t" + DigestA + "\tcut.html";
    folder.write(QStringLiteral("SENT.TXT"), bytes);
    UploadManifest reread(path, QStringLiteral("sftp://u@h:22/"));
    reread.open();
    ASSERT_EQ(reread.files().size(), 1);
    EXPECT_EQ(reread.find(QStringLiteral("a.html")), (SentFile{UploadFileKind::Page, 11, DigestB}));
    // The cut line is gone from the file, so that the next line is not glued to it.
    EXPECT_TRUE(folder.read(QStringLiteral("SENT.TXT")).endsWith("\n"));
    EXPECT_FALSE(folder.read(QStringLiteral("SENT.TXT")).contains("cut.html"));
}

TEST(UploadManifest, AJournalOfMostlyOutdatedLinesIsRewrittenWithOneLinePerFile) {
    test::TempFolder folder;
    const QString path = folder.file(QStringLiteral("SENT.TXT"));
    UploadManifest manifest(path, QStringLiteral("l"));
    for (int i = 0; i < 70; ++i) {
        manifest.recordSent(QStringLiteral("p.html"), {UploadFileKind::Page, i, DigestA});
    }
    UploadManifest reread(path, QStringLiteral("l"));
    reread.open();
    EXPECT_EQ(folder.read(QStringLiteral("SENT.TXT")).count('\n'), 3);
    EXPECT_EQ(reread.find(QStringLiteral("p.html"))->size, 69);
}

TEST(UploadManifest, EachServerHasItsOwn) {
    ServerSettings server;
    server.host = QStringLiteral("example.org");
    server.user = QStringLiteral("u");
    const QString first = UploadManifest::pathFor(QStringLiteral("/p/"), server);
    EXPECT_TRUE(first.startsWith(QStringLiteral("/p/SENT-")));
    EXPECT_EQ(UploadManifest::pathFor(QStringLiteral("/p/"), server), first);
    for (const auto change :
         {+[](ServerSettings& s) { s.port = 2222; }, +[](ServerSettings& s) { s.user = QStringLiteral("v"); },
          +[](ServerSettings& s) { s.remoteFolder = QStringLiteral("www/"); },
          +[](ServerSettings& s) {
              s.protocol = UploadProtocol::Ftps;
          }}) {
        ServerSettings other = server;
        change(other);
        EXPECT_NE(UploadManifest::pathFor(QStringLiteral("/p/"), other), first);
    }
}

TEST(ServerSettings, RoundTripKeepsEveryFieldAndNoPassword) {
    test::TempFolder folder;
    EXPECT_EQ(ProgramSettings::serverSettings(folder.path()), ServerSettings{});
    ServerSettings server{UploadProtocol::Sftp,
                          QStringLiteral("web.example.jp"),
                          2022,
                          QStringLiteral("tanaka"),
                          UploadAuthentication::KeyFile,
                          QStringLiteral("/home/t/.ssh/id_ed25519"),
                          QStringLiteral("/var/www/表/"),
                          true};
    ASSERT_TRUE(ProgramSettings::setPageEncoding(folder.path(), PageEncoding::Utf8));
    ASSERT_TRUE(ProgramSettings::setServerSettings(folder.path(), server));
    EXPECT_EQ(ProgramSettings::serverSettings(folder.path()), server);
    EXPECT_EQ(ProgramSettings::pageEncoding(folder.path()), PageEncoding::Utf8);
    EXPECT_FALSE(folder.read(ProgramSettings::FileName).toLower().contains("\npassword="));

    // A key file is SFTP's: an FTPS server logs in with the password whatever the file says.
    server.protocol = UploadProtocol::Ftps;
    ASSERT_TRUE(ProgramSettings::setServerSettings(folder.path(), server));
    EXPECT_EQ(ProgramSettings::serverSettings(folder.path()).authentication, UploadAuthentication::Password);
    EXPECT_EQ(ProgramSettings::serverSettings(folder.path()).portInUse(), 2022);
    server.port = 0;
    ASSERT_TRUE(ProgramSettings::setServerSettings(folder.path(), server));
    EXPECT_EQ(ProgramSettings::serverSettings(folder.path()).portInUse(), 21);
}

TEST(UploadFiles, ServerImagePathMustLeadBelowTheHtmlFolder) {
    const auto folderOf = [](const QByteArray& path) {
        return remoteImageFolder(SettingsRecord{"/d/", "/h/", "/i/", path});
    };
    EXPECT_EQ(folderOf(""), QString());
    EXPECT_EQ(folderOf("grph/"), QStringLiteral("grph/"));
    EXPECT_EQ(folderOf("grph"), QStringLiteral("grph/"));
    EXPECT_EQ(folderOf("a\\b//"), QStringLiteral("a/b/"));
    for (const QByteArray& bad :
         {QByteArray("/grph/"), QByteArray("../grph/"), QByteArray("http://x/"), QByteArray("a/../../b/")}) {
        EXPECT_FALSE(folderOf(bad)) << bad.toStdString();
    }
}

TEST(UploadFiles, PlanComparesSizeAndDigestWithTheManifest) {
    test::TempFolder folder;
    folder.write(QStringLiteral("same.html"), "1234");
    folder.write(QStringLiteral("edited.html"), "abcd"); // the same size as before, other bytes
    folder.write(QStringLiteral("new.html"), "");
    UploadManifest manifest(folder.file(QStringLiteral("SENT.TXT")), QStringLiteral("l"));
    manifest.recordSent(QStringLiteral("same.html"),
                        *describeLocalFile(folder.file(QStringLiteral("same.html")), UploadFileKind::Page));
    manifest.recordSent(QStringLiteral("edited.html"), {UploadFileKind::Page, 4, DigestA});
    QList<LocalFile> files;
    for (const char* name : {"same.html", "edited.html", "new.html"}) {
        files.append(
            {UploadFileKind::Page, folder.file(QString::fromLatin1(name)), QString::fromLatin1(name)});
    }
    const QList<PlannedFile> plan = planUpload(files, manifest);
    ASSERT_EQ(plan.size(), 3);
    EXPECT_EQ(plan.at(0).reason, UploadReason::Unchanged);
    EXPECT_EQ(plan.at(1).reason, UploadReason::Changed);
    EXPECT_EQ(plan.at(2).reason, UploadReason::New);
    EXPECT_EQ(plan.at(2).now.sha256, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(countToSend(plan), 2);
}

} // namespace
} // namespace kelvano
