#pragma once

#include <QByteArray>

namespace kelvano {

/// The four folder settings kept in TAVELO.DAT and held by the main window for the whole run.
struct SettingsRecord {
    static constexpr qsizetype Size = 1004;
    static constexpr qsizetype FieldCapacity = 250;

    // Byte offsets of the fields: four short strings of capacity 250, 251 bytes apart.
    static constexpr qsizetype DataFolderAt = 0;
    static constexpr qsizetype HtmlFolderAt = 251;
    static constexpr qsizetype ImageFolderAt = 502;
    static constexpr qsizetype ServerImagePathAt = 753;

    QByteArray DataFolder;
    QByteArray HtmlFolder;
    QByteArray ImageFolder;
    QByteArray ServerImagePath;

    QByteArray encode() const;
    static SettingsRecord decode(QByteArrayView record);

    bool operator==(const SettingsRecord&) const = default;
};

static_assert(SettingsRecord::Size == 1004);
static_assert(SettingsRecord::HtmlFolderAt ==
              SettingsRecord::DataFolderAt + SettingsRecord::FieldCapacity + 1);
static_assert(SettingsRecord::ImageFolderAt ==
              SettingsRecord::HtmlFolderAt + SettingsRecord::FieldCapacity + 1);
static_assert(SettingsRecord::ServerImagePathAt ==
              SettingsRecord::ImageFolderAt + SettingsRecord::FieldCapacity + 1);
static_assert(SettingsRecord::ServerImagePathAt + SettingsRecord::FieldCapacity + 1 == SettingsRecord::Size);

} // namespace kelvano
