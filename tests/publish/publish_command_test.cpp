#include "core/store/failure_reasons.h"
#include "core/store/settings_record.h"
#include "core/store/shift_jis.h"
#include "core/store/snippet_store.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"
#include "kelvano_version.h"
#include "publish_texts.h"
#include "support/temp_folder.h"
#include "words/check_words.h"
#include "words/page_words.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace kelvano {
namespace {

using test::sjis;

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

struct Result {
    int status;
    QByteArray out;
    QByteArray err;
};

/// Runs kelvano-publish on a program folder of its own, in a Japanese UTF-8 terminal.
class Publish : public testing::Test {
protected:
    /// `fileSizeLimit`: the child's RLIMIT_FSIZE, with SIGXFSZ left as the system sets it.
    Result run(QStringList arguments, bool withFolder = true, rlim_t fileSizeLimit = 0) const {
        if (withFolder) {
            arguments.prepend(m_folder.path());
            arguments.prepend(QStringLiteral("--program-folder"));
        }
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LANG"), QStringLiteral("ja_JP.UTF-8"));
        environment.remove(QStringLiteral("LC_ALL"));
        environment.remove(QStringLiteral("LC_CTYPE"));
        environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        environment.insert(QStringLiteral("SOURCE_DATE_EPOCH"),
                           QStringLiteral("865155907")); // 1997-06-01 09:05:07
        process.setProcessEnvironment(environment);
        if (fileSizeLimit != 0) {
            process.setChildProcessModifier([fileSizeLimit] {
                const rlimit limit{fileSizeLimit, fileSizeLimit};
                setrlimit(RLIMIT_FSIZE, &limit);
                std::signal(SIGXFSZ, SIG_DFL);
            });
        }
        if (!m_workingFolder.isEmpty()) {
            process.setWorkingDirectory(m_workingFolder);
        }
        process.start(QStringLiteral(KELVANO_PUBLISH_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        const int status = process.exitStatus() == QProcess::CrashExit ? -1 : process.exitCode();
        return {status, process.readAllStandardOutput(), process.readAllStandardError()};
    }

    /// TAVELO.DAT with the data in the program folder and the pages in html/; TABLE.DAT with the
    /// live definitions a (0), b (2) and a deleted one (1).
    void writeInstallation() const {
        const QByteArray folder = sjis(m_folder.path());
        m_folder.write(QStringLiteral("TAVELO.DAT"),
                       SettingsRecord{folder, folder + "html/", folder, "grph/"}.encode());
        QByteArray table;
        for (const char* name : {"a", "gone", "b"}) {
            TableDefinition d;
            d.TableName = sjis(QStringLiteral("表題 ")) + name;
            d.FileName = name;
            d.HeaderName = "0:top";
            d.FooterName = "5:none";
            d.Deleted = QByteArray(name) == "gone";
            table += d.encode();
        }
        m_folder.write(QStringLiteral("TABLE.DAT"), table);
        m_folder.write(QStringLiteral("HEAD.0"), "<p><getnowdate> <getnowtime></p>\r\n");
        for (const char* name : {"a", "gone", "b"}) {
            m_folder.write(QString::fromLatin1(name) + QStringLiteral(".TBL"), {});
        }
        QDir(m_folder.path()).mkdir(QStringLiteral("html"));
    }

    test::TempFolder m_folder;
    /// Where the command runs; the test's own working folder when empty.
    QString m_workingFolder;
};

TEST_F(Publish, UsageErrorsExitWithTwoAndTouchNothing) {
    writeInstallation();
    const QList<QStringList> cases{
        {},
        {QStringLiteral("--bogus")},
        {QStringLiteral("--all"), QStringLiteral("0")},
        {QStringLiteral("--list"), QStringLiteral("--all")},
        {QStringLiteral("x")},
        {QStringLiteral("-1")},
        {QStringLiteral("1")},                      // deleted
        {QStringLiteral("0"), QStringLiteral("3")}, // beyond the last record
        {QStringLiteral("--encoding"), QStringLiteral("EUC-JP"), QStringLiteral("0")},
        {QStringLiteral("0"), QStringLiteral("--encoding")},
        {QStringLiteral("--markup=XHTML"), QStringLiteral("0")},
        {QStringLiteral("0"), QStringLiteral("--markup")},
    };
    for (const QStringList& arguments : cases) {
        const Result result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.err.startsWith("kelvano-publish: ")) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_EQ(run({QStringLiteral("--program-folder")}, false).status, 2);
    EXPECT_TRUE(QDir(m_folder.file(QStringLiteral("html"))).isEmpty());

    const Result help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("--program-folder"));
    EXPECT_TRUE(help.out.contains("--list"));
    EXPECT_TRUE(help.out.contains("--version"));
    const Result version = run({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QByteArray("kelvano-publish " KELVANO_VERSION "\n"));
}

TEST_F(Publish, MissingTableFileEndsWithOneAndCreatesNoFile) {
    const Result result = run({QStringLiteral("--all")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, utf8(Messages::NoData) + "\n");
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(QDir(m_folder.path()).isEmpty()); // neither TAVELO.DAT nor TABLE.DAT is created
}

TEST_F(Publish, AllGeneratesEveryLiveDefinitionAndLeavesTheStoreAlone) {
    writeInstallation();
    const QByteArray settings = m_folder.read(QStringLiteral("TAVELO.DAT"));
    const QByteArray table = m_folder.read(QStringLiteral("TABLE.DAT"));

    const Result result = run({QStringLiteral("--all")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, utf8(Messages::PagesFinished) + "\n");
    EXPECT_EQ(result.err, utf8(Messages::FooterMissing) + "\n" + utf8(Messages::FooterMissing) + "\n");
    EXPECT_EQ(QDir(m_folder.file(QStringLiteral("html"))).entryList(QDir::Files),
              (QStringList{QStringLiteral("a.html"), QStringLiteral("b.html")}));
    EXPECT_EQ(m_folder.read(QStringLiteral("html/a.html")),
              "<p>1997/06/01 9:05:07</p>\r\n<TABLE BORDER=\"1\" CELLSPACING=\"2\" "
              "CELLPADDING=\"1\">\r\n</TABLE>\r\n");
    // A new page gets the usual permissions of a new file (world-readable under umask 022).
    EXPECT_EQ(QFile::permissions(m_folder.file(QStringLiteral("html/a.html"))) & QFileDevice::ReadOther,
              QFile::permissions(m_folder.file(QStringLiteral("TABLE.DAT"))) & QFileDevice::ReadOther);
    EXPECT_EQ(m_folder.read(QStringLiteral("TAVELO.DAT")), settings);
    EXPECT_EQ(m_folder.read(QStringLiteral("TABLE.DAT")), table);
}

TEST_F(Publish, NumbersRunInTheOrderGivenAndABrokenTableEndsWithOne) {
    writeInstallation();
    m_folder.write(QStringLiteral("HEAD.0"), "x\r\n");
    QFile::remove(m_folder.file(QStringLiteral("a.TBL")));
    const Result result = run({QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("2")});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.out.isEmpty());
    const QList<QByteArray> lines = result.err.split('\n');
    ASSERT_EQ(lines.size(), 5) << result.err.toStdString();
    EXPECT_EQ(lines[0], utf8(Messages::FooterMissing));
    // Each message is one line: the table, what to do, the file.
    EXPECT_TRUE(lines[1].startsWith(utf8(QStringLiteral("テーブル 0「"))));
    EXPECT_TRUE(lines[1].endsWith(": " + m_folder.file(QStringLiteral("a.TBL")).toUtf8()))
        << lines[1].toStdString();
    EXPECT_EQ(lines[2], utf8(Messages::FooterMissing));
    EXPECT_EQ(lines[3], utf8(QStringLiteral("2件のページを作成しました（1件は作成出来ませんでした）")));
    EXPECT_TRUE(m_folder.exists(QStringLiteral("html/b.html")));
    EXPECT_FALSE(m_folder.exists(QStringLiteral("html/a.html")));
}

TEST_F(Publish, ListShowsLiveDefinitionsAndADamagedFileEndsWithOne) {
    writeInstallation();
    const Result list = run({QStringLiteral("--list")});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, utf8(QStringLiteral("0\t表題 a\ta\t0:top\t5:none\n2\t表題 b\tb\t0:top\t5:none\n")));

    // In an EUC-JP terminal the same text arrives in EUC-JP.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("ja_JP.eucJP"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KELVANO_PUBLISH_PATH),
                  {QStringLiteral("--program-folder"), m_folder.path(), QStringLiteral("--list")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_TRUE(process.readAllStandardOutput().startsWith(QByteArray("0\t\xC9\xBD\xC2\xEA a\t")));

    m_folder.write(QStringLiteral("TABLE.DAT"), m_folder.read(QStringLiteral("TABLE.DAT")) + "tail");
    const Result damaged = run({QStringLiteral("--list")});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_TRUE(damaged.out.isEmpty());
    EXPECT_TRUE(damaged.err.startsWith(m_folder.file(QStringLiteral("TABLE.DAT")).toUtf8()));
}

// Titles come from files made elsewhere: an escape sequence in one must not reach the terminal.
TEST_F(Publish, ListAndMessagesEscapeControlCharacters) {
    writeInstallation();
    QByteArray table = m_folder.read(QStringLiteral("TABLE.DAT"));
    TableDefinition hostile;
    hostile.TableName = "\x1b]0;owned\x07red\ttab\\";
    hostile.FileName = "../x\r";
    table += hostile.encode();
    m_folder.write(QStringLiteral("TABLE.DAT"), table);

    const Result list = run({QStringLiteral("--list")});
    EXPECT_EQ(list.status, 0);
    EXPECT_TRUE(list.out.endsWith("\n3\t\\x1b]0;owned\\x07red\\ttab\\\\\t../x\\r\t\t\n"))
        << list.out.toStdString();

    // The run reports the name it refuses, escaped, and goes on with the next table.
    const Result pages = run({QStringLiteral("3"), QStringLiteral("0")});
    EXPECT_EQ(pages.status, 1);
    EXPECT_EQ(pages.err,
              utf8(Messages::FileNameUnusable + QStringLiteral("：3 ")) +
                  "\\x1b]0;owned\\x07red\\ttab\\\\\n" + utf8(Messages::FooterMissing) + "\n" +
                  utf8(QStringLiteral("1件のページを作成しました（1件は作成出来ませんでした）\n")));
    EXPECT_TRUE(m_folder.exists(QStringLiteral("html/a.html")));
    EXPECT_FALSE(m_folder.exists(QStringLiteral("x\r.html")));
}

// Under a file-size limit the run used to die of SIGXFSZ without a word.
TEST_F(Publish, AFileSizeLimitIsReportedAsAnError) {
    writeInstallation();
    TableRowRecord row;
    row.CellTexts[1] = QByteArray(250, 'x');
    m_folder.write(QStringLiteral("a.TBL"), row.encode() + row.encode());
    const Result result = run({QStringLiteral("0")}, true, 200);
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.contains(": " + utf8(Messages::FileTooLarge) + "\n")) << result.err.toStdString();
    EXPECT_FALSE(m_folder.exists(QStringLiteral("html/a.html")));
    EXPECT_EQ(QDir(m_folder.file(QStringLiteral("html"))).entryList(QDir::Files), QStringList{});
}

TEST_F(Publish, MissingSettingsMeanTheProgramFolderForEveryFolder) {
    writeInstallation();
    QFile::remove(m_folder.file(QStringLiteral("TAVELO.DAT")));
    const Result result = run({QStringLiteral("0")});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(m_folder.exists(QStringLiteral("a.html")));
    EXPECT_FALSE(m_folder.exists(QStringLiteral("TAVELO.DAT")));
}

TEST_F(Publish, PagesFollowKelvanoIniUnlessEncodingIsGiven) {
    writeInstallation();
    m_folder.write(QStringLiteral("HEAD.0"), "<meta charset=\"shift_jis\">" + test::Hyo + "\r\n");
    const QString page = QStringLiteral("html/a.html");
    const QByteArray shiftJisPage = "<meta charset=\"shift_jis\">" + test::Hyo + "\r\n";
    const QByteArray utf8Page = "<meta charset=\"UTF-8\">" + test::hexBytes("e8a1a8") + "\r\n";

    EXPECT_EQ(run({QStringLiteral("0")}).status, 0);
    EXPECT_TRUE(m_folder.read(page).startsWith(shiftJisPage));
    m_folder.write(QStringLiteral("KELVANO.INI"), "[Pages]\nEncoding=UTF-8\n");
    EXPECT_EQ(run({QStringLiteral("0")}).status, 0);
    EXPECT_TRUE(m_folder.read(page).startsWith(utf8Page));
    EXPECT_EQ(run({QStringLiteral("--encoding=Shift_JIS"), QStringLiteral("0")}).status, 0);
    EXPECT_TRUE(m_folder.read(page).startsWith(shiftJisPage));
    m_folder.write(QStringLiteral("KELVANO.INI"), "[Pages]\nEncoding=Shift_JIS\n");
    EXPECT_EQ(run({QStringLiteral("0"), QStringLiteral("--encoding"), QStringLiteral("utf-8")}).status, 0);
    EXPECT_TRUE(m_folder.read(page).startsWith(utf8Page));
    EXPECT_EQ(m_folder.read(QStringLiteral("KELVANO.INI")), "[Pages]\nEncoding=Shift_JIS\n");
}

TEST_F(Publish, TablesFollowKelvanoIniUnlessMarkupIsGiven) {
    writeInstallation();
    const QString page = QStringLiteral("html/a.html");
    const QByteArray classic = "<TABLE BORDER=\"1\" CELLSPACING=\"2\" CELLPADDING=\"1\">\r\n</TABLE>\r\n";
    const QByteArray html5 = "<table style=\"border:1px outset;border-spacing:2px\">\r\n</table>\r\n";

    EXPECT_EQ(run({QStringLiteral("0")}).status, 0);
    EXPECT_TRUE(m_folder.read(page).endsWith(classic));
    m_folder.write(QStringLiteral("KELVANO.INI"), "[Pages]\nMarkup=HTML5\n");
    EXPECT_EQ(run({QStringLiteral("0")}).status, 0);
    EXPECT_TRUE(m_folder.read(page).endsWith(html5));
    EXPECT_EQ(run({QStringLiteral("--markup=classic"), QStringLiteral("0")}).status, 0);
    EXPECT_TRUE(m_folder.read(page).endsWith(classic));
    m_folder.write(QStringLiteral("KELVANO.INI"), "[Pages]\nMarkup=Classic\n");
    EXPECT_EQ(run({QStringLiteral("--markup"), QStringLiteral("HTML5"), QStringLiteral("0")}).status, 0);
    EXPECT_TRUE(m_folder.read(page).endsWith(html5));
}

TEST_F(Publish, CheckListsTheProblemsOfTheTablesWithoutWritingAndExitsWithOneForAny) {
    writeInstallation();
    const Result problems = run({QStringLiteral("--check"), QStringLiteral("--all")});
    EXPECT_EQ(problems.status, 1);
    // Footer 5 is missing, and the header declares no charset.
    const QString footerMissing =
        Messages::CheckFooterBodyMissing.arg(m_folder.path() + QStringLiteral("FOOT.5"));
    const QString noCharset = Messages::CheckNoCharset.arg(QStringLiteral("Shift_JIS"));
    EXPECT_EQ(problems.out,
              utf8(QStringLiteral("0 表題 a: ") + footerMissing + QStringLiteral("\n0 表題 a: ") + noCharset +
                   QStringLiteral("\n2 表題 b: ") + footerMissing + QStringLiteral("\n2 表題 b: ") +
                   noCharset + QStringLiteral("\n")));
    EXPECT_TRUE(QDir(m_folder.file(QStringLiteral("html"))).isEmpty());

    m_folder.write(QStringLiteral("FOOT.5"), "<!-- charset=shift_jis -->\r\n");
    const Result none = run({QStringLiteral("--check"), QStringLiteral("2")});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(run({QStringLiteral("--check"), QStringLiteral("--encoding"), QStringLiteral("UTF-8"),
                   QStringLiteral("2")})
                  .status,
              0);
    EXPECT_EQ(run({QStringLiteral("--check"), QStringLiteral("--list")}).status, 2);
    EXPECT_EQ(run({QStringLiteral("--check")}).status, 2);
    EXPECT_TRUE(QDir(m_folder.file(QStringLiteral("html"))).isEmpty());
}

TEST_F(Publish, FoldersFromWindowsAreToldAndMappedOnlyWithMapFolders) {
    writeInstallation();
    QDir(m_folder.path()).mkpath(QStringLiteral("Data"));
    for (const char* name : {"HEAD.0", "a.TBL", "b.TBL"}) {
        QFile::rename(m_folder.file(QString::fromLatin1(name)),
                      m_folder.file(QStringLiteral("Data/") + QString::fromLatin1(name)));
    }
    const SettingsRecord windows{"D:\\Web\\Tables\\DATA\\", "D:\\Web\\Tables\\HTML\\", "/gone/GRPH/",
                                 "grph/"};
    m_folder.write(QStringLiteral("TAVELO.DAT"), windows.encode());
    const test::TempFolder working;
    m_workingFolder = working.path();

    // Without the option: each missing folder is told, with the hint; nothing is written anywhere.
    const Result told = run({QStringLiteral("--all")});
    EXPECT_EQ(told.status, 1);
    EXPECT_TRUE(told.err.startsWith(
        utf8(Messages::PublishFolderNotOfThisSystem.arg(QStringLiteral("データ"),
                                                        QStringLiteral("D:\\\\Web\\\\Tables\\\\DATA\\\\")) +
             QStringLiteral("\n") +
             Messages::PublishFolderNotOfThisSystem.arg(QStringLiteral("HTML"),
                                                        QStringLiteral("D:\\\\Web\\\\Tables\\\\HTML\\\\")) +
             QStringLiteral("\n") +
             Messages::PublishFolderMissing.arg(QStringLiteral("画像"), QStringLiteral("/gone/GRPH/")) +
             QStringLiteral("\n") + Messages::PublishMapFoldersHint + QStringLiteral("\n"))))
        << told.err.toStdString();
    EXPECT_EQ(m_folder.read(QStringLiteral("TAVELO.DAT")), windows.encode());
    EXPECT_EQ(QDir(working.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    EXPECT_TRUE(QDir(m_folder.file(QStringLiteral("html"))).isEmpty());

    // With it: the proposal is printed, used and kept; the image folder matched nothing and stays.
    const Result mapped = run({QStringLiteral("--map-folders"), QStringLiteral("--all")});
    EXPECT_EQ(mapped.status, 0) << mapped.err.toStdString();
    EXPECT_TRUE(mapped.out.startsWith(
        utf8(Messages::PublishFolderMapped.arg(QStringLiteral("データ"),
                                               QStringLiteral("D:\\\\Web\\\\Tables\\\\DATA\\\\"),
                                               m_folder.path() + QStringLiteral("Data/")) +
             QStringLiteral("\n") +
             Messages::PublishFolderMapped.arg(QStringLiteral("HTML"),
                                               QStringLiteral("D:\\\\Web\\\\Tables\\\\HTML\\\\"),
                                               m_folder.path() + QStringLiteral("html/")) +
             QStringLiteral("\n"))))
        << mapped.out.toStdString();
    // Then only the footer the fixture never had.
    EXPECT_EQ(mapped.err,
              utf8(Messages::PublishFolderMissing.arg(QStringLiteral("画像"), QStringLiteral("/gone/GRPH/")) +
                   QStringLiteral("\n") + Messages::FooterMissing + QStringLiteral("\n") +
                   Messages::FooterMissing + QStringLiteral("\n")));
    EXPECT_EQ(SettingsRecord::decode(m_folder.read(QStringLiteral("TAVELO.DAT"))),
              (SettingsRecord{sjis(m_folder.path() + QStringLiteral("Data/")),
                              sjis(m_folder.path() + QStringLiteral("html/")), "/gone/GRPH/", "grph/"}));
    EXPECT_TRUE(m_folder.exists(QStringLiteral("html/a.html")));
    EXPECT_TRUE(m_folder.exists(QStringLiteral("html/b.html")));
    // Mapped once: the next run has nothing to map and leaves TAVELO.DAT alone.
    const QByteArray stored = m_folder.read(QStringLiteral("TAVELO.DAT"));
    EXPECT_EQ(run({QStringLiteral("--map-folders"), QStringLiteral("--list")}).out.count("→"), 0);
    EXPECT_EQ(m_folder.read(QStringLiteral("TAVELO.DAT")), stored);
    EXPECT_EQ(QDir(working.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

/// One program folder as a Windows computer leaves it, or as this system would have made it: the
/// spelling of each name, and whether the picture's name kept its Shift-JIS bytes.
struct Spelling {
    QString settings, definitions, tableData, headerIndex, headerBody, footerIndex, footerBody;
    bool shiftJisPicture;
};

/// Every file under the folder, with its size, names as their bytes.
QStringList treeOf(const QString& folder) {
    QStringList files;
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        entries.next();
        files.append(QDir(folder).relativeFilePath(entries.filePath()));
    }
    files.sort();
    return files;
}

TEST_F(Publish, AProgramFolderAsCopiedFromWindowsGivesTheSamePagesOnceMapped) {
    const auto writeCopy = [](const test::TempFolder& root, const Spelling& spelling,
                              const SettingsRecord& settings) {
        for (const char* folder : {"DATA", "HTML/GRPH"}) {
            ASSERT_TRUE(QDir(root.path()).mkpath(QString::fromLatin1(folder)));
        }
        root.write(spelling.settings, settings.encode());
        TableDefinition d;
        d.TableName = sjis(QStringLiteral("価格表"));
        d.FileName = "price";
        d.HeaderName = "0:top";
        d.FooterName = "1:end";
        d.ColumnCount = 2;
        root.write(spelling.definitions, d.encode());
        TableRowRecord apple;
        apple.CellTexts[1] = sjis(QStringLiteral("りんご"));
        apple.CellPictures[1] = sjis(QStringLiteral("C:\\My Pictures\\りんご.jpg"));
        apple.CellTexts[2] = "100";
        TableRowRecord pear;
        pear.CellTexts[1] = sjis(QStringLiteral("なし"));
        pear.CellLinks[2] = "order.html";
        root.write(QStringLiteral("DATA/") + spelling.tableData, apple.encode() + pear.encode());
        root.write(QStringLiteral("DATA/") + spelling.headerIndex, SnippetIndexRecord{"top", false}.encode());
        root.write(QStringLiteral("DATA/") + spelling.headerBody,
                   "<HTML><HEAD><META charset=\"Shift_JIS\"></HEAD><BODY>\r\n<P><GETNOWDATE></P>\r\n");
        root.write(QStringLiteral("DATA/") + spelling.footerIndex,
                   SnippetIndexRecord{"x", true}.encode() + SnippetIndexRecord{"end", false}.encode());
        root.write(QStringLiteral("DATA/") + spelling.footerBody, "</BODY></HTML>\r\n");
        root.write(QStringLiteral("HTML/order.html"), "<P>order</P>\r\n");
        const QByteArray picture = sjis(QStringLiteral("りんご.jpg"));
        if (spelling.shiftJisPicture) {
            test::writeRawName(root.file(QStringLiteral("HTML/GRPH/")), picture, "jpeg");
        } else {
            root.write(QStringLiteral("HTML/GRPH/りんご.jpg"), "jpeg");
        }
    };
    // Windows: drive paths, names in every case, the picture's name in Shift-JIS.
    const test::TempFolder windows;
    writeCopy(windows,
              {QStringLiteral("Tavelo.dat"), QStringLiteral("table.DAT"), QStringLiteral("PRICE.TBL"),
               QStringLiteral("Head.Dat"), QStringLiteral("head.0"), QStringLiteral("FOOT.dat"),
               QStringLiteral("Foot.1"), true},
              SettingsRecord{"D:\\Web\\Tables\\DATA\\", "D:\\Web\\Tables\\HTML\\",
                             "D:\\Web\\Tables\\HTML\\GRPH\\", "GRPH/"});
    const test::TempFolder clean;
    writeCopy(clean,
              {QStringLiteral("TAVELO.DAT"), QStringLiteral("TABLE.DAT"), QStringLiteral("price.TBL"),
               QStringLiteral("HEAD.DAT"), QStringLiteral("HEAD.0"), QStringLiteral("FOOT.DAT"),
               QStringLiteral("FOOT.1"), false},
              SettingsRecord{sjis(clean.path() + QStringLiteral("DATA/")),
                             sjis(clean.path() + QStringLiteral("HTML/")),
                             sjis(clean.path() + QStringLiteral("HTML/GRPH/")), "GRPH/"});
    const test::TempFolder working;
    m_workingFolder = working.path();
    const QStringList before = treeOf(windows.path());

    const Result mapped = run({QStringLiteral("--program-folder"), windows.path(),
                               QStringLiteral("--map-folders"), QStringLiteral("--all")},
                              false);
    EXPECT_EQ(mapped.status, 0) << mapped.err.toStdString();
    EXPECT_EQ(mapped.err, "");
    const Result expected =
        run({QStringLiteral("--program-folder"), clean.path(), QStringLiteral("--all")}, false);
    ASSERT_EQ(expected.status, 0) << expected.err.toStdString();
    const QByteArray page = clean.read(QStringLiteral("HTML/price.html"));
    EXPECT_TRUE(page.contains("<IMG SRC=\"GRPH/" + sjis(QStringLiteral("りんご.jpg")) + "\">"));
    EXPECT_EQ(windows.read(QStringLiteral("HTML/price.html")), page);

    // Nothing was made but the page, in the program folder, and TAVELO.DAT kept its name.
    QStringList after = before + QStringList{QStringLiteral("HTML/price.html")};
    after.sort();
    EXPECT_EQ(treeOf(windows.path()), after);
    EXPECT_EQ(treeOf(working.path()), QStringList());
    EXPECT_EQ(SettingsRecord::decode(windows.read(QStringLiteral("Tavelo.dat"))).DataFolder,
              sjis(windows.path() + QStringLiteral("DATA/")));

    // The check then tells only what a web server would stumble on: the picture's Shift-JIS name.
    const Result check = run({QStringLiteral("--program-folder"), windows.path(), QStringLiteral("--check"),
                              QStringLiteral("--all")},
                             false);
    EXPECT_EQ(check.out,
              utf8(QStringLiteral("0 価格表: ") +
                   Messages::CheckNameInShiftJis.arg(QStringLiteral("りんご.jpg")) + QStringLiteral("\n")));
}

} // namespace
} // namespace kelvano
