#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace kelvano {

/// Shows a page made in memory as the browser would, before it is written: the pictures and
/// backgrounds it names are taken from the image folder by their file names, so that they show before
/// they are uploaded. Its "再表示" button asks for the page to be made again.
class PagePreviewWindow : public QWidget {
    Q_OBJECT

public:
    explicit PagePreviewWindow(QWidget* parent = nullptr);

    /// Shows the page's text under the table's title and brings the window to the front.
    void showPage(const QString& title, const QString& html, const QString& imageFolder);

    QTextBrowser* browser() const { return m_browser; }
    QPushButton* refreshButton() const { return m_refresh; }

signals:
    void refreshRequested();

private:
    QTextBrowser* m_browser;
    QPushButton* m_refresh;
};

} // namespace kelvano
