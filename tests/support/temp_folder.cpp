#include "support/temp_folder.h"

#include "core/store/shift_jis.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <ftw.h>
#include <gtest/gtest.h>

namespace kelvano::test {

TempFolder::TempFolder() {
    EXPECT_TRUE(m_dir.isValid());
}

namespace {

int removeEntry(const char* path, const struct stat*, int, FTW*) {
    return ::remove(path);
}

} // namespace

TempFolder::~TempFolder() {
    // Through the system's names: QTemporaryDir cannot remove a name that is no UTF-8.
    ::nftw(QFile::encodeName(m_dir.path()).constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

QString TempFolder::path() const {
    return m_dir.path() + QLatin1Char('/');
}

QString TempFolder::file(const QString& name) const {
    return path() + name;
}

void TempFolder::write(const QString& name, QByteArrayView contents) const {
    QFile file(this->file(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(contents.data(), contents.size()), contents.size());
}

QByteArray TempFolder::read(const QString& name) const {
    QFile file(this->file(name));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << name.toStdString();
        return {};
    }
    return file.readAll();
}

bool TempFolder::exists(const QString& name) const {
    return QFile::exists(file(name));
}

WorkingFolder::WorkingFolder() : m_previous(QDir::currentPath()) {
    EXPECT_TRUE(QDir::setCurrent(m_folder.path()));
}

WorkingFolder::~WorkingFolder() {
    QDir::setCurrent(m_previous);
}

QStringList WorkingFolder::entries() const {
    return QDir(m_folder.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray writeRawName(const QString& folder, const QByteArray& name, QByteArrayView contents) {
    const QByteArray path = QFile::encodeName(folder) + name;
    FILE* file = std::fopen(path.constData(), "wb");
    EXPECT_NE(file, nullptr) << path.toStdString();
    if (file != nullptr) {
        std::fwrite(contents.data(), 1, static_cast<std::size_t>(contents.size()), file);
        std::fclose(file);
    }
    return path;
}

QByteArray sjis(const QString& text) {
    return ShiftJis::encode(text).bytes;
}

QByteArray hexBytes(const char* hex) {
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

} // namespace kelvano::test
