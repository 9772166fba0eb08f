#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace kelvano {

/// The title page (TabSheet1): the first day's words or the day's greeting, above the program's
/// banner, its name and where to find its author.
class TitlePage : public QWidget {
    Q_OBJECT

public:
    explicit TitlePage(QWidget* parent = nullptr);

    /// Shows the lines in the text box; the first day's words cannot be typed over.
    void showTitleText(const QStringList& lines, bool readOnly);

signals:
    /// The link to the help's first steps was followed.
    void firstStepsRequested();

private:
    QPlainTextEdit* Memo2;
    QLabel* Image1;
};

} // namespace kelvano
