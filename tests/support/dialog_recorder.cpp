#include "support/dialog_recorder.h"

#include <QWidget>

namespace kelvano::test {

class DialogRecorder::Sink : public DialogSink {
public:
    explicit Sink(DialogRecorder& recorder) : m_recorder(recorder) {}

    void show(QWidget* owner, const Message& message) override {
        m_recorder.m_shown.append({message, owner ? owner->objectName() : QString(), false});
    }
    bool askYesNo(QWidget* owner, const Message& message, Answer enterAnswers) override {
        return ask(owner, message, enterAnswers, Answer::No) == Answer::Yes;
    }
    Answer askYesNoCancel(QWidget* owner, const Message& message, Answer enterAnswers) override {
        return ask(owner, message, enterAnswers, Answer::Cancel);
    }
    std::optional<QColor> chooseColour(QWidget*, const QColor&) override {
        return m_recorder.m_colours.isEmpty() ? std::nullopt : m_recorder.m_colours.takeFirst();
    }

private:
    Answer ask(QWidget* owner, const Message& message, Answer enterAnswers, Answer whenScriptEnds) {
        m_recorder.m_shown.append({message, owner ? owner->objectName() : QString(), true, enterAnswers});
        if (m_recorder.m_answers.isEmpty()) {
            return whenScriptEnds;
        }
        return m_recorder.m_answers.takeFirst().value_or(enterAnswers);
    }

    DialogRecorder& m_recorder;
};

DialogRecorder::DialogRecorder() : m_previous(UserDialogs::setSink(std::make_unique<Sink>(*this))) {}

DialogRecorder::~DialogRecorder() {
    UserDialogs::setSink(std::move(m_previous));
}

QStringList DialogRecorder::texts() const {
    QStringList texts;
    for (const Shown& shown : m_shown) {
        texts.append(shown.message.text);
    }
    return texts;
}

} // namespace kelvano::test
