#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace kelvano {

/// Shows the bundled help pages (help/ beside the program, Japanese HTML) in a window of its own; it
/// stands in for the platform's help viewer and opens on the page of the window it was asked from.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    /// `helpFolder` holds the pages; its index.html is the contents page. The window's place is noted in
    /// the program folder `programFolder` (none: not noted).
    explicit HelpWindow(const QString& helpFolder, QWidget* parent = nullptr,
                        const QString& programFolder = QString());

    /// Shows the contents page of the help file and brings the window to the front.
    void showContents();
    /// Shows the help page `fileName` of the help folder, or the contents page when there is none such,
    /// and brings the window to the front.
    void showPage(const QString& fileName);
    /// The page now shown.
    QString currentPage() const;
    /// Notes where the window is, for its next opening (in this run or the next).
    void keepPlace() const;

    /// The help folder of the running program (see helpFolderFor).
    static QString defaultHelpFolder();
    /// The help pages of a program in `programDirectory`: help/ beside it (the build tree, a portable
    /// installation), else share/kelvano/help of the installation it belongs to (bin/../share).
    static QString helpFolderFor(const QString& programDirectory);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QString m_helpFolder;
    QString m_programFolder;
    bool m_placed = false;
    QTextBrowser* m_browser;
};

} // namespace kelvano
