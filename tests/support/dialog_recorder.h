#pragma once

#include "gui/base/user_dialogs.h"

#include <QList>
#include <QString>

namespace kelvano::test {

/// Stands in for every dialog while it lives: keeps each message shown, answers questions and colour
/// dialogs from a script (No to a yes-no question, Cancel to a three-way one and cancel to a colour
/// dialog once the script runs out).
class DialogRecorder {
public:
    struct Shown {
        Message message;
        QString ownerName;
        bool question = false;
    };

    DialogRecorder();
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    void answerNext(bool yes) { m_answers.append(yes ? Answer::Yes : Answer::No); }
    void answerNext(Answer answer) { m_answers.append(answer); }
    void chooseNext(std::optional<QColor> colour) { m_colours.append(colour); }

    const QList<Shown>& shown() const { return m_shown; }
    /// The texts shown so far, in order.
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    class Sink;

    QList<Shown> m_shown;
    QList<Answer> m_answers;
    QList<std::optional<QColor>> m_colours;
    std::unique_ptr<DialogSink> m_previous;
};

} // namespace kelvano::test
