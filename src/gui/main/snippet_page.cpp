#include "gui/main/snippet_page.h"

#include "core/html/page_generator.h"
#include "core/html/starter_snippets.h"
#include "core/store/shift_jis.h"
#include "core/store/table_definition_file.h"
#include "gui/base/form_layout.h"
#include "gui/base/keyboard.h"
#include "gui/base/shift_jis_field.h"
#include "gui/base/user_dialogs.h"
#include "gui/base/widget_events.h"
#include "gui/main/folder_settings_page.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

namespace kelvano {

using namespace FormLayout;

SnippetPage::SnippetPage(const QString& programFolder, const FolderSettingsPage& folders, QWidget* parent)
    : QWidget(parent), m_programFolder(programFolder), m_folders(folders) {
    setObjectName(QStringLiteral("TabSheet5"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, 0, 530, 161);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_headerSide = buildSide({.kind = SnippetKind::Header,
                              .x = 4,
                              .group = "GroupBox5",
                              .title = QStringLiteral("ヘッダ"),
                              .list = "ListView3",
                              .nameColumn = QStringLiteral("ヘッダ名"),
                              .number = "Edit7",
                              .name = "Edit9",
                              .buttons = {"BitBtn11", "BitBtn12", "BitBtn13", "BitBtn18"},
                              .nameRequired = &Messages::HeaderNameRequired,
                              .colonRefused = &Messages::HeaderNameColon,
                              .bodyMissing = &Messages::HeaderBodyMissing});
    m_footerSide = buildSide({.kind = SnippetKind::Footer,
                              .x = 267,
                              .group = "GroupBox6",
                              .title = QStringLiteral("フッタ"),
                              .list = "ListView4",
                              .nameColumn = QStringLiteral("フッタ名"),
                              .number = "Edit8",
                              .name = "Edit10",
                              .buttons = {"BitBtn14", "BitBtn15", "BitBtn16", "BitBtn19"},
                              .nameRequired = &Messages::FooterNameRequired,
                              .colonRefused = &Messages::FooterNameColon,
                              .bodyMissing = &Messages::FooterBodyMissing});

    // A ":" cannot be part of a snippet's name: the key is refused with a word.
    for (SnippetSide* side : {&m_headerSide, &m_footerSide}) {
        WidgetEvents* const nameEvents = WidgetEvents::of(side->name);
        nameEvents->refuse(QStringLiteral(":"));
        connect(nameEvents, &WidgetEvents::refused, this,
                [this, side] { UserDialogs::show(this, MessageIcon::Error, *side->colonRefused); });
    }
    connect(m_headerSide.list, &ReportList::rowChosen, this,
            [this] { snippetListClick(m_headerSide, m_footerSide); });
    connect(m_footerSide.list, &ReportList::rowChosen, this,
            [this] { snippetListClick(m_footerSide, m_headerSide); });
    // Enter in a name registers it, as that side's "登録・変更" does.
    for (SnippetSide* side : {&m_headerSide, &m_footerSide}) {
        connect(side->name, &QLineEdit::returnPressed, side->registerButton, &QPushButton::click);
    }
    // Tab moves on to the next control and Ctrl+Tab to the next page, as everywhere in the window; Ctrl+I
    // (the tab character's control key) types a tab character into the text.
    Keyboard::tabLeavesTextBox(Memo1);
    const auto guardedClick = [this](QPushButton* source, SnippetSide& side,
                                     void (SnippetPage::*handler)(SnippetSide&)) {
        connect(source, &QPushButton::clicked, this, [this, &side, handler] {
            UserDialogs::guarded(this, [this, &side, handler] { (this->*handler)(side); });
        });
    };
    for (SnippetSide* side : {&m_headerSide, &m_footerSide}) {
        guardedClick(side->newButton, *side, &SnippetPage::snippetNew);
        guardedClick(side->registerButton, *side, &SnippetPage::snippetRegister);
        guardedClick(side->deleteButton, *side, &SnippetPage::snippetDelete);
        guardedClick(side->starterButton, *side, &SnippetPage::snippetStarter);
    }
}

SnippetPage::SnippetSide SnippetPage::buildSide(const SideLayout& layout) {
    SnippetSide side{};
    side.kind = layout.kind;
    auto* box = group(this, QString::fromLatin1(layout.group), layout.title, {layout.x, 164, 259, 166});
    side.list = reportList(box, QString::fromLatin1(layout.list), {QStringLiteral("番号"), layout.nameColumn},
                           {6, 22, 247, 76});
    side.list->setColumnWidth(0, 40);
    label(box, QStringLiteral("番号"), {6, 108});
    side.number = edit(box, QString::fromLatin1(layout.number), {34, 104, 44, 22});
    side.number->setReadOnly(true);
    label(box, QStringLiteral("名称"), {86, 108});
    side.name = edit(box, QString::fromLatin1(layout.name), {116, 104, 137, 22});
    side.nameField = ShiftJisField::attach(side.name, SnippetIndexRecord::NameCapacity);
    side.newButton =
        button(box, QString::fromLatin1(layout.buttons[0]), QStringLiteral("新規作成"), {6, 132, 78, 26});
    side.registerButton =
        button(box, QString::fromLatin1(layout.buttons[1]), QStringLiteral("登録・変更"), {90, 132, 78, 26});
    side.deleteButton =
        button(box, QString::fromLatin1(layout.buttons[2]), QStringLiteral("削除"), {174, 132, 78, 26});
    // On the title line, above the list's right end.
    side.starterButton =
        button(box, QString::fromLatin1(layout.buttons[3]), QStringLiteral("ひな形"), {196, 0, 56, 22});
    side.nameRequired = layout.nameRequired;
    side.colonRefused = layout.colonRefused;
    side.bodyMissing = layout.bodyMissing;
    return side;
}

void SnippetPage::snippetStarter(SnippetSide& side) {
    // A starting text never replaces one being written; one just registered is kept in its file.
    if (!Memo1->toPlainText().isEmpty() && Memo1->toPlainText() != m_memo1Registered) {
        UserDialogs::show(this, MessageIcon::Information, Messages::StarterNeedsEmptyText);
        return;
    }
    Memo1->setPlainText(starterSnippet(side.kind, m_folders.pageEncoding()).join(QLatin1Char('\n')));
}

void SnippetPage::LoadSnippetLists() {
    m_listedDataFolder = m_folders.settings().DataFolder;
    if (fillSnippetLists(m_headerSide)) {
        fillSnippetLists(m_footerSide);
    }
}

bool SnippetPage::fillSnippetLists(SnippetSide& side) {
    const std::optional<QList<SnippetEntry>> entries =
        SnippetStore(ShiftJis::decode(m_folders.settings().DataFolder), side.kind).loadEntries();
    if (!entries) {
        UserDialogs::show(this, MessageIcon::Error, Messages::CheckFolderSettings);
        return false;
    }
    side.list->setRowCount(0);
    QStringList choices;
    for (const SnippetEntry& entry : *entries) {
        appendRow(side.list, {QString::number(entry.number), ShiftJis::decode(entry.name)});
        choices.append(ShiftJis::decode(entry.choiceItem()));
    }
    emit choicesListed(side.kind, choices);
    return true;
}

void SnippetPage::snippetListClick(SnippetSide& side, SnippetSide& other) {
    if (side.list->rowCount() == 0) {
        return;
    }
    other.number->clear();
    other.name->clear();
    const int row = selectedRow(side.list);
    if (row < 0) {
        return;
    }
    UserDialogs::guarded(this, [this, &side, row] {
        const int number = side.list->item(row, 0)->text().toInt();
        const std::optional<Snippet> snippet =
            SnippetStore(ShiftJis::decode(m_folders.settings().DataFolder), side.kind).read(number);
        if (!snippet) {
            UserDialogs::show(this, MessageIcon::Error, Messages::SnippetUnreadable);
            return;
        }
        side.number->setText(QString::number(number));
        side.nameField->setBytes(snippet->name);
        if (!snippet->body) {
            UserDialogs::show(this, MessageIcon::Error, *side.bodyMissing);
            return;
        }
        // Every line ends in a line break, as in the body file, so that a last empty line shows and
        // comes back when the text is saved.
        QString text;
        for (const QByteArray& line : *snippet->body) {
            text += ShiftJis::decode(line) + QLatin1Char('\n');
        }
        Memo1->setPlainText(text);
        m_memo1Loaded = LoadedBody{Memo1->toPlainText(), *snippet->body};
    });
}

void SnippetPage::clearMemo1() {
    Memo1->clear();
    m_memo1Loaded.reset();
}

void SnippetPage::snippetNew(SnippetSide& side) {
    clearMemo1();
    side.number->clear();
    side.name->clear();
}

std::optional<QList<QByteArray>> SnippetPage::memo1Lines() {
    const QString text = Memo1->toPlainText();
    if (m_memo1Loaded && text == m_memo1Loaded->text) {
        return m_memo1Loaded->lines;
    }
    const QString unstorable = unstorableCharacters(text);
    if (!unstorable.isEmpty()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::UnencodableCharacters.arg(unstorable));
        return std::nullopt;
    }
    QList<QByteArray> lines;
    if (text.isEmpty()) {
        return lines;
    }
    QStringList textLines = text.split(QLatin1Char('\n'));
    // A line break at the very end closes the last line; it does not open another.
    if (textLines.last().isEmpty()) {
        textLines.removeLast();
    }
    for (const QString& line : textLines) {
        lines.append(ShiftJis::encode(line).bytes);
    }
    return lines;
}

void SnippetPage::snippetRegister(SnippetSide& side) {
    if (side.name->text().isEmpty()) {
        UserDialogs::show(this, MessageIcon::Error, *side.nameRequired);
        side.name->setFocus();
        return;
    }
    const std::optional<QList<QByteArray>> lines = memo1Lines();
    if (!lines) {
        return;
    }
    const SnippetStore store(ShiftJis::decode(m_folders.settings().DataFolder), side.kind);
    if (!side.number->text().isEmpty()) {
        store.change(side.number->text().toInt(), *lines);
        m_memo1Registered = Memo1->toPlainText();
        return;
    }
    if (!store.registerSnippet(side.nameField->bytes(), *lines)) {
        UserDialogs::show(this, MessageIcon::Error, Messages::SnippetUnsaveable);
        return;
    }
    m_memo1Registered = Memo1->toPlainText();
    LoadSnippetLists();
}

QString SnippetPage::snippetDeleteQuestion(const SnippetSide& side, int number) const {
    // The name as registered; the name field may have been typed over since the snippet was loaded.
    const std::optional<Snippet> snippet =
        SnippetStore(ShiftJis::decode(m_folders.settings().DataFolder), side.kind).read(number);
    QString question =
        Messages::confirmSnippetDelete(snippet ? ShiftJis::decode(snippet->name) : side.name->text());
    // A table uses the snippet its choice names by number, as its page is made.
    const QByteArray numberText = QByteArray::number(number);
    QStringList users;
    for (const NumberedDefinition& entry : TableDefinitionFile(m_programFolder).readAll().records) {
        const TableDefinition& definition = entry.definition;
        const QByteArray& choice =
            side.kind == SnippetKind::Header ? definition.HeaderName : definition.FooterName;
        if (!definition.Deleted && SnippetNumberOf(choice) == numberText) {
            users.append(QString::number(entry.number) + QLatin1Char(' ') +
                         ShiftJis::decode(definition.TableName));
        }
    }
    if (!users.isEmpty()) {
        question += QLatin1Char('\n') +
                    (side.kind == SnippetKind::Header ? Messages::HeaderUsedBy : Messages::FooterUsedBy) +
                    users.join(Messages::UsersSeparator);
    }
    return question;
}

void SnippetPage::snippetDelete(SnippetSide& side) {
    if (side.number->text().isEmpty()) {
        UserDialogs::show(this, MessageIcon::Error, Messages::SelectDeleteTarget);
        return;
    }
    const SnippetStore store(ShiftJis::decode(m_folders.settings().DataFolder), side.kind);
    const int number = side.number->text().toInt();
    if (!UserDialogs::askYesNo(this, MessageIcon::Question, snippetDeleteQuestion(side, number),
                               Answer::No)) {
        return;
    }
    if (!store.remove(number)) {
        UserDialogs::show(this, MessageIcon::Error, Messages::SnippetUndeletable);
        return;
    }
    LoadSnippetLists();
    clearMemo1();
    // The deleted snippet's body is still used by the tables that name it: a register after the delete
    // makes a new snippet instead of overwriting that body.
    side.number->clear();
}

} // namespace kelvano
