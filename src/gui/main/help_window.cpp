#include "gui/main/help_window.h"

#include "gui/base/keyboard.h"
#include "gui/base/window_place.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHideEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kelvano {
namespace {

const QString PlaceKey = QStringLiteral("Help");

} // namespace

HelpWindow::HelpWindow(const QString& helpFolder, QWidget* parent, const QString& programFolder)
    : QWidget(parent, Qt::Window), m_helpFolder(helpFolder), m_programFolder(programFolder),
      m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Kelvano ヘルプ"));
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(560, 480);
    Keyboard::giveDialogKeys(this, nullptr, [this] { close(); });
}

void HelpWindow::showContents() {
    showPage(QStringLiteral("index.html"));
}

void HelpWindow::showPage(const QString& fileName) {
    // Every help file name the program uses maps to the one bundled set of pages.
    m_browser->setSearchPaths({m_helpFolder});
    const QDir folder(m_helpFolder);
    const QString page = folder.filePath(fileName);
    m_browser->setSource(
        QUrl::fromLocalFile(QFileInfo(page).isFile() ? page : folder.filePath(QStringLiteral("index.html"))));
    // The first opening puts the window where it was left, else over the middle of its owner.
    if (!m_placed && !(!m_programFolder.isEmpty() && WindowPlace::restore(this, m_programFolder, PlaceKey)) &&
        parentWidget() != nullptr) {
        move(parentWidget()->geometry().center() - rect().center());
    }
    m_placed = true;
    show();
    raise();
    activateWindow();
}

void HelpWindow::keepPlace() const {
    if (!m_programFolder.isEmpty() && m_placed) {
        WindowPlace::keep(this, m_programFolder, PlaceKey);
    }
}

void HelpWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        keepPlace();
    }
}

QString HelpWindow::currentPage() const {
    return m_browser->source().toLocalFile();
}

QString HelpWindow::defaultHelpFolder() {
    return helpFolderFor(QCoreApplication::applicationDirPath());
}

QString HelpWindow::helpFolderFor(const QString& programDirectory) {
    const QDir directory(programDirectory);
    const QString beside = directory.filePath(QStringLiteral("help"));
    const QString installed = directory.filePath(QStringLiteral("../share/kelvano/help"));
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed)) {
        return QDir::cleanPath(installed);
    }
    return beside;
}

} // namespace kelvano
