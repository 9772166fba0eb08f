#include "gui/base/user_dialogs.h"

#include "core/store/io_error.h"
#include "gui/base/qt_dialog_sink.h"

namespace kelvano::UserDialogs {
namespace {

std::unique_ptr<DialogSink>& currentSink() {
    static std::unique_ptr<DialogSink> sink = std::make_unique<QtDialogSink>();
    return sink;
}

} // namespace

void show(QWidget* owner, MessageIcon icon, const QString& text, const QString& caption) {
    currentSink()->show(owner, {caption, text, icon});
}

bool askYesNo(QWidget* owner, MessageIcon icon, const QString& text, Answer enterAnswers,
              const QString& caption) {
    return currentSink()->askYesNo(owner, {caption, text, icon}, enterAnswers);
}

Answer askYesNoCancel(QWidget* owner, MessageIcon icon, const QString& text, Answer enterAnswers,
                      const QString& caption) {
    return currentSink()->askYesNoCancel(owner, {caption, text, icon}, enterAnswers);
}

void showIoError(QWidget* owner, const IoError& error) {
    show(owner, MessageIcon::Error, error.message(), IoErrorCaption);
}

std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial) {
    return currentSink()->chooseColour(owner, initial);
}

void guarded(QWidget* owner, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const IoError& error) {
        showIoError(owner, error);
    }
}

std::unique_ptr<DialogSink> setSink(std::unique_ptr<DialogSink> sink) {
    std::swap(currentSink(), sink);
    return sink;
}

} // namespace kelvano::UserDialogs
