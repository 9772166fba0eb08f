#include "gui/base/window_place.h"

#include "core/store/program_settings.h"

#include <QByteArray>
#include <QWidget>

namespace kelvano::WindowPlace {

bool restore(QWidget* window, const QString& programFolder, const QString& key) {
    const QByteArray noted =
        QByteArray::fromBase64(ProgramSettings::windowState(programFolder, key).toLatin1());
    return !noted.isEmpty() && window->restoreGeometry(noted);
}

void keep(const QWidget* window, const QString& programFolder, const QString& key) {
    // A place is a convenience: a file that cannot be written is no reason for a message.
    ProgramSettings::setWindowState(programFolder, key,
                                    QString::fromLatin1(window->saveGeometry().toBase64()));
}

} // namespace kelvano::WindowPlace
