#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace kelvano {

enum class SnippetKind { Header, Footer };

/// One 82-byte record of HEAD.DAT or FOOT.DAT: the snippet's name and its deleted flag.
struct SnippetIndexRecord {
    static constexpr qsizetype Size = 82;
    static constexpr qsizetype NameCapacity = 80;

    // Byte offsets of the fields.
    static constexpr qsizetype SnippetNameAt = 0;
    static constexpr qsizetype DeletedAt = 81;

    QByteArray SnippetName;
    bool Deleted = false;

    QByteArray encode() const;
    static SnippetIndexRecord decode(QByteArrayView record);
};

static_assert(SnippetIndexRecord::Size == 82);
static_assert(SnippetIndexRecord::DeletedAt ==
              SnippetIndexRecord::SnippetNameAt + SnippetIndexRecord::NameCapacity + 1);
static_assert(SnippetIndexRecord::DeletedAt + 1 == SnippetIndexRecord::Size);

/// A live snippet as the lists show it.
struct SnippetEntry {
    int number;
    QByteArray name;

    /// The choice-list item: number, ":", name (header 3 named Top gives "3:Top").
    QByteArray choiceItem() const;

    bool operator==(const SnippetEntry&) const = default;
};

struct Snippet {
    QByteArray name;
    /// The body lines; nullopt when the body file does not exist.
    std::optional<QList<QByteArray>> body;
};

/// The headers or the footers in the data folder: an index file of name records (HEAD.DAT) and one
/// body file per snippet (HEAD.<n>), numbered by record position. Numbers are never reused.
class SnippetStore {
public:
    SnippetStore(const QString& dataFolder, SnippetKind kind);

    QString indexPath() const;
    QString bodyPath(int number) const;
    /// The body file named by a snippet number as a choice-list item holds it ("HEAD." + the text).
    QString bodyPath(QByteArrayView numberText) const;

    /// The live snippets in record order; the index is created empty when missing. nullopt when it can
    /// be neither opened nor created. An incomplete last record is ignored.
    std::optional<QList<SnippetEntry>> loadEntries() const;
    /// Snippet n; nullopt when the index cannot be opened.
    std::optional<Snippet> read(int number) const;
    /// Registers a new snippet and gives its number (the record count); nullopt when the index cannot
    /// be opened, and then nothing is written. The name is cut to 80 bytes; the body file is replaced.
    /// The body is written before the index record, so an IoError from either leaves no record
    /// without its body.
    std::optional<int> registerSnippet(QByteArrayView name, const QList<QByteArray>& body) const;
    /// Replaces the body of snippet n; its name stays as registered.
    void change(int number, const QList<QByteArray>& body) const;
    /// Marks snippet n deleted; its body file stays. False when the index cannot be opened.
    bool remove(int number) const;

private:
    QString m_dataFolder;
    QString m_prefix;
};

} // namespace kelvano
