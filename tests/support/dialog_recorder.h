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
        /// The default button of a question: what Enter answers.
        Answer enterAnswers = Answer::Cancel;
    };

    DialogRecorder();
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    void answerNext(bool yes) { m_answers.append(yes ? Answer::Yes : Answer::No); }
    void answerNext(Answer answer) { m_answers.append(answer); }
    /// The next question is answered with Enter: its default button.
    void pressEnterNext() { m_answers.append(std::nullopt); }
    void chooseNext(std::optional<QColor> colour) { m_colours.append(colour); }

    const QList<Shown>& shown() const { return m_shown; }
    /// The texts shown so far, in order.
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    class Sink;

    QList<Shown> m_shown;
    /// The script; nullopt answers with the question's default button.
    QList<std::optional<Answer>> m_answers;
    QList<std::optional<QColor>> m_colours;
    std::unique_ptr<DialogSink> m_previous;
};

} // namespace kelvano::test
