#include "gui/main/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kelvano {

HelpWindow::HelpWindow(const QString& helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_helpFolder(helpFolder), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Kelvano ヘルプ"));
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(560, 480);
}

void HelpWindow::showContents() {
    // Every help file name the program uses maps to the one bundled set of pages.
    m_browser->setSearchPaths({m_helpFolder});
    m_browser->setSource(QUrl::fromLocalFile(QDir(m_helpFolder).filePath(QStringLiteral("index.html"))));
    if (!isVisible() && parentWidget() != nullptr) {
        move(parentWidget()->geometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

QString HelpWindow::currentPage() const {
    return m_browser->source().toLocalFile();
}

QString HelpWindow::defaultHelpFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help"));
}

} // namespace kelvano
