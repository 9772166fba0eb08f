#include "gui/main/desktop_browser.h"

#include <QProcess>
#include <QStringList>

namespace kelvano::DesktopBrowser {
namespace {

/// `xdg-mime query default <type>`: the desktop file of the type's default program, empty for none.
std::optional<QString> askXdgMime(const QString& mimeType) {
    QProcess process;
    process.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!process.waitForStarted(2000)) {
        return std::nullopt;
    }
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        return std::nullopt;
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

Asker& currentAsker() {
    static Asker asker = askXdgMime;
    return asker;
}

} // namespace

Setup query() {
    bool asked = false;
    for (const QString& type : {QStringLiteral("text/html"), QStringLiteral("x-scheme-handler/http")}) {
        const std::optional<QString> program = currentAsker()(type);
        if (program && !program->isEmpty()) {
            return Setup::Found;
        }
        asked = asked || program.has_value();
    }
    return asked ? Setup::None : Setup::Unknown;
}

void setAsker(Asker asker) {
    currentAsker() = asker ? std::move(asker) : Asker(askXdgMime);
}

} // namespace kelvano::DesktopBrowser
