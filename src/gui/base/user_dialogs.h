#pragma once

#include "gui/base/messages.h"

#include <QColor>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace kelvano {

class IoError;

enum class MessageIcon { None, Information, Warning, Error, Question };

/// The answer to a question with the buttons Yes, No and Cancel.
enum class Answer { Yes, No, Cancel };

/// One message box as the user sees it.
struct Message {
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::None;
};

/// Where message boxes, questions and the colour dialog go: the real dialogs while the program runs,
/// a recorder in tests.
class DialogSink {
public:
    virtual ~DialogSink() = default;
    virtual void show(QWidget* owner, const Message& message) = 0;
    /// A question with the buttons Yes and No; true for Yes. Enter presses `enterAnswers`.
    virtual bool askYesNo(QWidget* owner, const Message& message, Answer enterAnswers) = 0;
    /// A question with the buttons Yes, No and Cancel; closing the box answers Cancel. Enter presses
    /// `enterAnswers`.
    virtual Answer askYesNoCancel(QWidget* owner, const Message& message, Answer enterAnswers) = 0;
    /// The colour dialog; nullopt when it is cancelled.
    virtual std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial) = 0;
};

/// Every window shows its messages through these functions.
namespace UserDialogs {

inline const QString IoErrorCaption = QStringLiteral("Kelvano");

void show(QWidget* owner, MessageIcon icon, const QString& text, const QString& caption = Messages::Caption);
/// A question; `enterAnswers` is its default button, the one Enter presses. A question that can lose
/// work has the answer that keeps it as its default.
bool askYesNo(QWidget* owner, MessageIcon icon, const QString& text, Answer enterAnswers,
              const QString& caption = Messages::Caption);
Answer askYesNoCancel(QWidget* owner, MessageIcon icon, const QString& text, Answer enterAnswers,
                      const QString& caption = Messages::Caption);
/// The standard I/O error box: the path and the system's error text, error icon, caption "Kelvano".
void showIoError(QWidget* owner, const IoError& error);
std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial);

/// Runs an event handler; an I/O error ends it and is shown in the standard I/O error box.
void guarded(QWidget* owner, const std::function<void()>& handler);

/// Replaces where dialogs go (tests install a recorder); gives back the previous sink.
std::unique_ptr<DialogSink> setSink(std::unique_ptr<DialogSink> sink);

} // namespace UserDialogs
} // namespace kelvano
