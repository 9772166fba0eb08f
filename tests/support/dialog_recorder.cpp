#include "support/dialog_recorder.h"

#include <QWidget>

namespace kelvano::test {

class DialogRecorder::Sink : public DialogSink {
public:
    explicit Sink(DialogRecorder& recorder) : m_recorder(recorder) {}

    void show(QWidget* owner, const Message& message) override {
        m_recorder.m_shown.append({message, owner ? owner->objectName() : QString(), false});
    }
    bool askYesNo(QWidget* owner, const Message& message) override {
        m_recorder.m_shown.append({message, owner ? owner->objectName() : QString(), true});
        return !m_recorder.m_answers.isEmpty() && m_recorder.m_answers.takeFirst() == Answer::Yes;
    }
    Answer askYesNoCancel(QWidget* owner, const Message& message) override {
        m_recorder.m_shown.append({message, owner ? owner->objectName() : QString(), true});
        return m_recorder.m_answers.isEmpty() ? Answer::Cancel : m_recorder.m_answers.takeFirst();
    }
    std::optional<QColor> chooseColour(QWidget*, const QColor&) override {
        return m_recorder.m_colours.isEmpty() ? std::nullopt : m_recorder.m_colours.takeFirst();
    }

private:
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
