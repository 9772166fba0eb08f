#pragma once

#include "gui/shell/file_system_namespace.h"
#include "gui/shell/shell_module.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace kelvano::test {

/// A folder tree for the shell views, with the namespace's send-to folder inside it:
///   photos/  photo.jpg PHOTO.JPG photo.jpeg photo.jpg.bak noext sub/
///   docs/    a.txt (0 bytes) b.txt (1023) c.txt (1024)
///   empty/
///   SendTo/  Archive.sh Mail.sh
class ShellFixture : public ::testing::Test {
protected:
    ShellFixture() {
        QDir base(folder.path());
        for (const char* name : {"photos/sub", "docs", "empty", "SendTo"}) {
            base.mkpath(QString::fromLatin1(name));
        }
        for (const char* name :
             {"photos/photo.jpg", "photos/PHOTO.JPG", "photos/photo.jpeg", "photos/photo.jpg.bak",
              "photos/noext", "docs/a.txt", "SendTo/Archive.sh", "SendTo/Mail.sh"}) {
            folder.write(QString::fromLatin1(name), {});
        }
        folder.write(QStringLiteral("docs/b.txt"), QByteArray(1023, 'b'));
        folder.write(QStringLiteral("docs/c.txt"), QByteArray(1024, 'c'));
        m_previous = ShellModule::setProvider(std::make_unique<FileSystemNamespace>(path(u"SendTo")));
    }
    ~ShellFixture() override { ShellModule::setProvider(std::move(m_previous)); }

    /// The full path of an entry of the tree, as the namespace writes it (no trailing separator).
    QString path(QStringView name = {}) const {
        const QString base = QDir::cleanPath(folder.path());
        return name.isEmpty() ? base : base + u'/' + name.toString();
    }

    TempFolder folder;

private:
    std::unique_ptr<NamespaceProvider> m_previous;
};

} // namespace kelvano::test
