#pragma once

#include <QByteArray>

namespace kelvano {

/// The four folder settings kept in TAVELO.DAT and held by the main window for the whole run.
struct SettingsRecord {
    static constexpr qsizetype Size = 1004;
    static constexpr qsizetype FieldCapacity = 250;

    QByteArray DataFolder;
    QByteArray HtmlFolder;
    QByteArray ImageFolder;
    QByteArray ServerImagePath;

    /// Every field is a short string of capacity 250, in this order, 251 bytes apart.
    QByteArray encode() const;
    static SettingsRecord decode(QByteArrayView record);

    bool operator==(const SettingsRecord&) const = default;
};

} // namespace kelvano
