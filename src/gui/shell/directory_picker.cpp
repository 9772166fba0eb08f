#include "gui/shell/directory_picker.h"

#include "core/store/io_error.h"
#include "core/store/shift_jis.h"
#include "gui/base/form_layout.h"
#include "gui/base/keyboard.h"
#include "gui/base/user_dialogs.h"
#include "gui/shell/file_view.h"
#include "gui/shell/folder_view.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>

namespace kelvano {
namespace {

const QString TestFileName = QStringLiteral("TAVELO.TST");

} // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("ディレクトリ参照"));
    FormLayout::setFormFont(this);
    resize(718, 408);

    FolderView1 = new TFolderView(this);
    FolderView1->setObjectName(QStringLiteral("FolderView1"));
    FolderView1->setFixedWidth(315);
    FolderView1->setIndentation(19);
    FileView1 = new TFileView(this);
    FileView1->setObjectName(QStringLiteral("FileView1"));
    FolderView1->setFileView(FileView1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FolderView1);
    layout->addWidget(FileView1, 1);

    // The button floats over the lower part of the tree.
    Button1 = new QPushButton(QStringLiteral("設定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(32, 0, 75, 25);
    Button1->raise();
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    Keyboard::giveDialogKeys(this, Button1, [this] { close(); });

    FormCreate();
    FormResize();
}

void TForm2::FormCreate() {
    PickTarget = FolderTarget::None;
}

void TForm2::FormResize() {
    Button1->move(Button1->x(), height() - 60);
}

void TForm2::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TForm2::Open(const QString& startFolder, FolderTarget target) {
    FolderView1->SelectPath(startFolder);
    PickTarget = target;
    show();
    raise();
    activateWindow();
}

void TForm2::Button1Click() {
    UserDialogs::guarded(this, [this] {
        const QString folder = FolderView1->SelectedPath();
        const QString testPath = folder + u'/' + TestFileName;
        QFile test(testPath);
        // A folder of the namespace that is not a file-system folder has no absolute path; it must
        // not send the test file into the working folder. A path that code page 932 cannot hold could
        // only be stored with characters missing, naming another folder.
        if (!QDir::isAbsolutePath(testPath) || !ShiftJis::encode(folder).ok() ||
            !test.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            UserDialogs::show(this, MessageIcon::Error, Messages::FolderNotSettable);
            return;
        }
        test.close();
        if (test.error() != QFileDevice::NoError) {
            throw IoError::fromFile(test);
        }
        if (!test.remove()) {
            throw IoError::fromFile(test);
        }
        if (PickTarget != FolderTarget::None) {
            emit folderPicked(PickTarget, folder + u'/');
        }
        PickTarget = FolderTarget::None;
        hide();
    });
}

} // namespace kelvano
