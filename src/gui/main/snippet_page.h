#pragma once

#include "core/store/snippet_store.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kelvano {

class FolderSettingsPage;
class ReportList;
class ShiftJisField;

/// The header and footer page (TabSheet5): one text box shared by a header side and a footer side,
/// each listing, loading, registering, changing and deleting the snippets of the data folder.
class SnippetPage : public QWidget {
    Q_OBJECT

public:
    /// The page finds the snippets in the data folder `folders` holds at each click.
    SnippetPage(const QString& programFolder, const FolderSettingsPage& folders, QWidget* parent = nullptr);

    /// Lists the headers and the footers, here and through `choicesListed`.
    void LoadSnippetLists();
    /// The data folder the lists were last loaded from.
    const QByteArray& listedDataFolder() const { return m_listedDataFolder; }

signals:
    /// The snippets of one kind as a table's choice box offers them ("number:name").
    void choicesListed(SnippetKind kind, const QStringList& choices);

private:
    /// One side of the editor: its controls, and the texts of the messages that name its kind.
    struct SnippetSide {
        SnippetKind kind;
        ReportList* list;
        QLineEdit* number;
        QLineEdit* name;
        ShiftJisField* nameField;
        QPushButton* newButton;
        QPushButton* registerButton;
        QPushButton* deleteButton;
        QPushButton* starterButton;
        const QString* nameRequired;
        const QString* colonRefused;
        const QString* bodyMissing;
    };
    /// What sets the header side and the footer side apart: the place of the group box, the control
    /// names (the group, the list, the number and name fields, then 新規作成, 登録・変更, 削除 and ひな形),
    /// the texts and the messages.
    struct SideLayout {
        SnippetKind kind;
        int x;
        const char* group;
        QString title;
        const char* list;
        QString nameColumn;
        const char* number;
        const char* name;
        const char* buttons[4];
        const QString* nameRequired;
        const QString* colonRefused;
        const QString* bodyMissing;
    };

    /// Builds one side's group box and controls.
    SnippetSide buildSide(const SideLayout& layout);

    void snippetListClick(SnippetSide& side, SnippetSide& other);
    void snippetNew(SnippetSide& side);
    void snippetRegister(SnippetSide& side);
    void snippetDelete(SnippetSide& side);
    /// "「名称」を削除しますか？", with the live tables whose choice names the snippet on a second line.
    QString snippetDeleteQuestion(const SnippetSide& side, int number) const;
    void snippetStarter(SnippetSide& side);
    bool fillSnippetLists(SnippetSide& side);
    /// The lines of Memo1 as stored bytes; nullopt (after the message) when a character cannot be stored.
    std::optional<QList<QByteArray>> memo1Lines();
    void clearMemo1();

    QString m_programFolder;
    const FolderSettingsPage& m_folders;
    QByteArray m_listedDataFolder;

    QPlainTextEdit* Memo1;

    SnippetSide m_headerSide{};
    SnippetSide m_footerSide{};
    /// Memo1's text as last loaded from a body file, with its lines, so that an unchanged text is
    /// written back byte for byte; none once the text box has been emptied by the program.
    struct LoadedBody {
        QString text;
        QList<QByteArray> lines;
    };
    std::optional<LoadedBody> m_memo1Loaded;
    /// Memo1's text as the last registration or change stored it: "ひな形" may replace it, since it is
    /// kept in its file.
    std::optional<QString> m_memo1Registered;
};

} // namespace kelvano
