#include "app/end_signals.h"
#include "app/program_instance.h"
#include "app/window_links.h"
#include "core/store/program_folder.h"
#include "gui/base/form_layout.h"
#include "gui/base/messages.h"
#include "gui/base/qt_translation.h"
#include "gui/base/user_dialogs.h"
#include "gui/dialogs/cell_colour_dialog.h"
#include "gui/dialogs/table_settings_dialog.h"
#include "gui/entry/link_list.h"
#include "gui/entry/picture_picker.h"
#include "gui/entry/table_data_editor.h"
#include "gui/entry/table_data_reference.h"
#include "gui/main/main_window.h"
#include "gui/shell/directory_picker.h"
#include "kelvano_version.h"

#include <QApplication>
#include <QFileInfo>
#include <QSessionManager>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

/// --version and --help are answered before any window (and without a display); nullopt for any
/// other command line, which the program ignores as it always has.
std::optional<int> answerCommandLine(int argc, char* argv[]) {
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        if (argument == "--version") {
            std::printf("kelvano %s\n", KELVANO_VERSION);
            return 0;
        }
        if (argument == "--help" || argument == "-h") {
            std::fputs(kelvano::Messages::ProgramHelp.toLocal8Bit().constData(), stdout);
            return 0;
        }
    }
    return std::nullopt;
}

/// Ends the program as soon as the watched window has painted itself once (the paint reaches the
/// screen before the queued end runs), when KELVANO_END_AFTER_FIRST_PAINT is set: the start-up
/// benchmark times whole processes up to that point.
class EndAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QMetaObject::invokeMethod(
                this, [] { std::_Exit(0); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }
};

/// The folder of the program file, known before any application object is made.
QString executableFolder() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

} // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<int> answered = answerCommandLine(argc, argv)) {
        return *answered;
    }
    // A write past the file-size limit then fails with EFBIG and is reported like any write error,
    // instead of ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    using namespace kelvano;
    // No display name: Qt would append it to every window title, and message boxes are captioned
    // exactly ("TAVELO"). The name also places the program folder of an installed program.
    QCoreApplication::setApplicationName(QStringLiteral("Kelvano"));
    const QString programFolder = resolveProgramFolder(executableFolder());
    // One copy per program folder: a second start brings the first one's window forward and ends
    // before it opens a window of its own.
    ProgramInstance instance(programFolder);
    const ProgramInstance::Start start = instance.claim();
    if (start == ProgramInstance::Start::RunningCopyRaised) {
        return 0;
    }
    QApplication application(argc, argv);
    installQtTranslation(&application);
    if (start == ProgramInstance::Start::RunningCopyUnreachable) {
        UserDialogs::show(nullptr, MessageIcon::Error, Messages::AlreadyRunning);
        return 1;
    }
    // The program ends by the main window's exit button (or its close), never because a secondary
    // window was the last one closed.
    QApplication::setQuitOnLastWindowClosed(false);

    // The main window first, then the secondary windows in number order, all hidden. The main window's
    // create step touches none of the others; they are wired to each other once all are there.
    TForm1 mainWindow(programFolder);
    QObject::connect(&mainWindow, &TForm1::programEnded, &application, &QCoreApplication::quit);
    TForm2 directoryPicker;
    TForm3 tableSettings;
    TForm4 cellColours;
    TForm5 tableDataEditor;
    TForm6 tableDataReference;
    TForm7 picturePicker;
    TForm8 linkList;
    for (QWidget* window : {static_cast<QWidget*>(&mainWindow), static_cast<QWidget*>(&directoryPicker),
                            static_cast<QWidget*>(&tableSettings), static_cast<QWidget*>(&cellColours),
                            static_cast<QWidget*>(&picturePicker), static_cast<QWidget*>(&linkList)}) {
        FormLayout::centreOnScreen(window);
    }
    linkWindows({&mainWindow, &directoryPicker, &tableSettings, &cellColours, &tableDataEditor,
                 &tableDataReference, &picturePicker, &linkList});

    // Ending from outside: the system's request writes the editor's unsaved rows and the settings and
    // ends without a question; the desktop session's end asks about unsaved rows where the session
    // lets the program ask, and saves them unasked where it does not.
    EndSignals endSignals;
    QObject::connect(&endSignals, &EndSignals::endRequested, &mainWindow, &TForm1::endWithoutQuestions);
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow](QSessionManager& session) {
                         const bool mayAsk = session.allowsInteraction();
                         if (!mainWindow.commitSession(mayAsk) && mayAsk) {
                             session.cancel();
                         }
                         if (mayAsk) {
                             session.release();
                         }
                     });

    QObject::connect(&instance, &ProgramInstance::raiseRequested, &mainWindow, [&mainWindow] {
        mainWindow.setWindowState(mainWindow.windowState() & ~Qt::WindowMinimized);
        mainWindow.show();
        mainWindow.raise();
        mainWindow.activateWindow();
    });
    instance.listen();

    EndAfterFirstPaint endAfterFirstPaint;
    if (qEnvironmentVariableIsSet("KELVANO_END_AFTER_FIRST_PAINT")) {
        mainWindow.installEventFilter(&endAfterFirstPaint);
    }
    mainWindow.show();
    return QApplication::exec();
}
