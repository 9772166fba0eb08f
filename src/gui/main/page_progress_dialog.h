#pragma once

#include "core/html/page_generator.h"

#include <QElapsedTimer>
#include <QProgressDialog>

namespace kelvano {

/// The progress of a page run: a dialog that appears once the run has taken `showAfter` (half a
/// second in the program), shows page n of m and the table's title, and whose "中止" button stops the
/// run between rows or pages.
class PageProgressDialog : public PageProgress {
public:
    static constexpr qint64 DefaultShowAfterMilliseconds = 500;

    PageProgressDialog(QWidget* owner, int count,
                       qint64 showAfterMilliseconds = DefaultShowAfterMilliseconds);

    bool pageStarting(int index, int count, const QString& title) override;
    bool goOn() override;

    QProgressDialog& dialog() { return m_dialog; }

private:
    QProgressDialog m_dialog;
    QElapsedTimer m_clock;
    qint64 m_showAfter;
};

} // namespace kelvano
