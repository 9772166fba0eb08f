#include "gui/main/page_preview_window.h"

#include "core/store/file_names.h"
#include "core/store/stored_names.h"
#include "gui/base/keyboard.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kelvano {
namespace {

/// A text browser that finds a page's pictures in the image folder, whatever server path is in
/// front of their names, and follows no link.
class ImageFolderBrowser : public QTextBrowser {
public:
    explicit ImageFolderBrowser(QWidget* parent) : QTextBrowser(parent) {
        setOpenLinks(false);
        setOpenExternalLinks(false);
    }

    void setImageFolder(const QString& folder) { m_imageFolder = folder; }

    QVariant loadResource(int type, const QUrl& name) override {
        if (type != QTextDocument::ImageResource) {
            return {};
        }
        const QString fileName = name.path(QUrl::FullyDecoded).section(QLatin1Char('/'), -1);
        // The picture as it is spelled in the image folder, which may differ in case from the page.
        const QString path = resolveStoredPath(m_imageFolder + fileName);
        if (fileName.isEmpty() || !isPathOfThisSystem(path) || !QFileInfo(path).isFile()) {
            return {};
        }
        const QImage image(path);
        return image.isNull() ? QVariant() : QVariant(image);
    }

private:
    QString m_imageFolder;
};

} // namespace

PagePreviewWindow::PagePreviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new ImageFolderBrowser(this)),
      m_refresh(new QPushButton(QStringLiteral("再表示"), this)) {
    setObjectName(QStringLiteral("PagePreviewWindow"));
    m_browser->setObjectName(QStringLiteral("PreviewBrowser"));
    m_refresh->setObjectName(QStringLiteral("PreviewRefresh"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_refresh);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_browser);
    layout->addLayout(buttons);
    resize(640, 480);
    connect(m_refresh, &QPushButton::clicked, this, &PagePreviewWindow::refreshRequested);
    Keyboard::giveDialogKeys(this, nullptr, [this] { close(); });
}

void PagePreviewWindow::showPage(const QString& title, const QString& html, const QString& imageFolder) {
    setWindowTitle(QStringLiteral("プレビュー - %1").arg(title));
    auto* browser = static_cast<ImageFolderBrowser*>(m_browser);
    browser->setImageFolder(imageFolder);
    // A refreshed page keeps the place the user scrolled to; its pictures are looked up anew, as one
    // may have been added meanwhile.
    const int position = browser->verticalScrollBar()->value();
    browser->document()->clear();
    browser->setHtml(html);
    browser->verticalScrollBar()->setValue(position);
    if (!isVisible() && parentWidget() != nullptr) {
        move(parentWidget()->geometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

} // namespace kelvano
