#include "gui/main/page_progress_dialog.h"

#include "gui/base/messages.h"

#include <QApplication>
#include <limits>

namespace kelvano {

PageProgressDialog::PageProgressDialog(QWidget* owner, int count, qint64 showAfterMilliseconds)
    : m_dialog(owner), m_showAfter(showAfterMilliseconds) {
    m_dialog.setObjectName(QStringLiteral("PageProgress"));
    m_dialog.setWindowTitle(Messages::Caption);
    m_dialog.setWindowModality(Qt::WindowModal);
    m_dialog.setCancelButtonText(QStringLiteral("中止"));
    m_dialog.setRange(0, count);
    // Shown here once the run takes long enough, never by the dialog's own timer.
    m_dialog.setMinimumDuration(std::numeric_limits<int>::max());
    m_dialog.setAutoReset(false);
    m_dialog.setAutoClose(false);
    m_dialog.hide();
    m_clock.start();
}

bool PageProgressDialog::pageStarting(int index, int count, const QString& title) {
    m_dialog.setLabelText(Messages::PageProgressText.arg(index + 1).arg(count).arg(title));
    m_dialog.setValue(index);
    return goOn();
}

bool PageProgressDialog::goOn() {
    if (!m_dialog.isVisible() && m_clock.elapsed() >= m_showAfter) {
        m_dialog.show();
    }
    // Events are let through only while the dialog shows: it then keeps the window from other clicks.
    if (m_dialog.isVisible()) {
        QApplication::processEvents();
    }
    return !m_dialog.wasCanceled();
}

} // namespace kelvano
