#include "core/html/clock.h"
#include "core/html/page_generator.h"
#include "core/store/table_definition_file.h"
#include "editor_fixture.h"
#include "words/page_words.h"

#include <QDir>

namespace kelvano::test {
namespace {

struct IgnoringReport : PageReport {
    void report(const PageMessage& message) override { texts.append(Messages::pageMessageText(message)); }
    QStringList texts;
};

using EditorToPage = EditorFixture;

TEST_F(EditorToPage, RowsTypedInTheEditorComeOutOnThePageWithTheirLinksAndOrder) {
    QDir(m_folder.path()).mkdir(QStringLiteral("html"));
    m_settings.HtmlFolder = QFile::encodeName(m_folder.path() + QStringLiteral("html/"));
    m_folder.write(QStringLiteral("HEAD.0"), "<BODY>\r\n");
    m_folder.write(QStringLiteral("FOOT.0"), "</BODY>\r\n");
    TableDefinition definition;
    definition.FileName = "price";
    definition.HeaderName = "0:top";
    definition.FooterName = "0:end";
    definition.ColumnCount = 2;
    TableDefinitionFile(m_folder.path()).append(definition);

    open(2);
    for (const char* text : {"Pear", "300", "Apple", "100"}) {
        type(QString::fromLatin1(text));
        press(Qt::Key_Return);
    }
    setCurrent(1, 1);
    trigger("N14");
    test::edit(m_links, "Edit1")->setText(QStringLiteral("apple.html"));
    QTest::keyClick(test::edit(m_links, "Edit1"), Qt::Key_Return);
    setCurrent(0, 0);
    trigger("soto1");
    QTest::mouseClick(test::button(m_editor, "BitBtn1"), Qt::LeftButton);
    ASSERT_FALSE(m_editor.isVisible());

    IgnoringReport report;
    Clock::setFixedNow(QDateTime(QDate(1997, 6, 1), QTime(9, 5, 7)));
    EXPECT_EQ(GeneratePages(m_settings, m_folder.path(), {0}, report), PageRunOutcome::Finished);
    Clock::setFixedNow({});
    const QByteArray page = m_folder.read(QStringLiteral("html/price.html"));
    const qsizetype apple = page.indexOf(">Apple<");
    const qsizetype pear = page.indexOf(">Pear<");
    ASSERT_GE(apple, 0) << page.toStdString();
    EXPECT_GT(pear, apple); // sorted
    EXPECT_GT(page.indexOf("<A HREF=\"apple.html\">100</A>"), apple);
    EXPECT_GT(page.indexOf(">300<"), pear);
    EXPECT_EQ(page.count("<TR>"), 3); // the empty row Enter added at the end is written too (and sorts first)
}

} // namespace
} // namespace kelvano::test
