#include "gui/entry/picture_picker.h"

#include "core/store/program_settings.h"
#include "core/store/shift_jis.h"
#include "core/store/stored_names.h"
#include "core/store/table_row_record.h"
#include "gui/base/form_layout.h"
#include "gui/base/keyboard.h"
#include "gui/base/user_dialogs.h"
#include "gui/entry/jpeg_file.h"
#include "gui/entry/preview_area.h"
#include "gui/shell/file_view.h"
#include "gui/shell/folder_view.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <filesystem>

namespace kelvano {
namespace {

const QString PictureFolderKey = QStringLiteral("PictureFolder");

} // namespace

TForm7::TForm7(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("JPEG 画像参照"));
    FormLayout::setFormFont(this);
    resize(672, 300);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);
    FolderView1 = new TFolderView(splitter);
    FolderView1->setObjectName(QStringLiteral("FolderView1"));
    FileView1 = new TFileView(splitter);
    FileView1->setObjectName(QStringLiteral("FileView1"));
    FileView1->setMask({QStringLiteral(".GIF"), QStringLiteral(".JPEG"), QStringLiteral(".JPG")});
    FileView1->setFileExecute(false);
    FolderView1->setFileView(FileView1);
    splitter->setSizes({185, 672 - 185 - 208 - 3});

    GroupBox1 = new QGroupBox(QStringLiteral("JPEG 参照画像"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setFixedWidth(208);
    Image1 = new PreviewArea(GroupBox1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(14, 23, PreviewSide, PreviewSide);
    Image2 = new PreviewArea(GroupBox1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(10, 19, PreviewSide, PreviewSide);
    ScrollBar1 = new QScrollBar(Qt::Horizontal, GroupBox1);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setGeometry(28, 192, 121, 16);
    ScrollBar1->setRange(0, 100);
    ScrollBar1->hide();
    ScrollBar2 = new QScrollBar(Qt::Vertical, GroupBox1);
    ScrollBar2->setObjectName(QStringLiteral("ScrollBar2"));
    ScrollBar2->setGeometry(184, 32, 16, 121);
    ScrollBar2->setRange(0, 100);
    ScrollBar2->hide();
    CheckBox1 = new QCheckBox(QStringLiteral("画像を画像ディレクトリへコピー"), GroupBox1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(3, 207, 204, 23);
    CheckBox1->setChecked(true);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(10, 232, 169, 21);
    Edit1->setReadOnly(true);
    BitBtn2 = new QPushButton(QStringLiteral("参照取消(&D)"), GroupBox1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(10, 262, 89, 27);
    BitBtn1 = new QPushButton(QStringLiteral("設定(&C)"), GroupBox1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(105, 262, 89, 27);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // A small gap, so that the group's title does not stand against the file list.
    layout->setSpacing(4);
    layout->addWidget(splitter, 1);
    layout->addWidget(GroupBox1);

    connect(FileView1, &TFileView::Click, this, &TForm7::FileView1Click);
    connect(FileView1, &TFileView::Change, this, &TForm7::FileView1Change);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm7::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm7::BitBtn2Click);
    // Escape puts the picker away without a picture chosen.
    Keyboard::giveDialogKeys(this, BitBtn1, [this] { hide(); });
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TForm7::ScrollBar1Change);
    connect(ScrollBar2, &QScrollBar::valueChanged, this, &TForm7::ScrollBar2Change);
}

void TForm7::blankPreview() {
    Image1->fillButtonFace();
    Image2->fillButtonFace();
}

void TForm7::drawPreview() {
    if (m_previewLoaded) {
        Image2->showPicture(m_previewPicture, QPoint(m_horizontalOffset, m_verticalOffset));
    }
}

void TForm7::OpenFor(PictureUse use, const SettingsRecord& settings, const QString& programFolder) {
    blankPreview();
    m_settings = &settings;
    m_programFolder = programFolder;
    // The folder a picture was last chosen from, while it is there.
    const QString last = ProgramSettings::windowState(programFolder, PictureFolderKey);
    FolderView1->SelectPath(!last.isEmpty() && QFileInfo(last).isDir() ? last : programFolder);
    show();
    raise();
    PickerMode = use;
}

void TForm7::showReferencePath(const QString& path) {
    Edit1->setText(path);
}

void TForm7::SelectFolder(const QString& folder) {
    FolderView1->SelectPath(folder);
}

void TForm7::FileView1Click() {
    Edit1->setText(FileView1->SelectedPath());
}

void TForm7::FileView1Change() {
    UserDialogs::guarded(this, [this] {
        const QString path = FileView1->SelectedPath();
        Edit1->setText(path);
        if (!QFileInfo(path).isFile() || !IsJpegName(path)) {
            return;
        }
        Image1->paintBlack();
        Image2->fillButtonFace();
        QImage picture = decodeJpegFile(path, QSize(PreviewSide, PreviewSide));
        m_previewPicture = std::move(picture);
        m_previewLoaded = true;
        Image2->showPicture(m_previewPicture, QPoint(0, 0));
        ScrollBar1->setMinimum(0);
        ScrollBar2->setMinimum(0);
        if (m_previewPicture.width() > PreviewSide) {
            ScrollBar1->setMaximum(m_previewPicture.width() - PreviewSide);
        }
        if (m_previewPicture.height() > PreviewSide) {
            ScrollBar2->setMaximum(m_previewPicture.height() - PreviewSide);
        }
    });
}

void TForm7::BitBtn2Click() {
    Edit1->clear();
    ScrollBar1->hide();
    ScrollBar2->hide();
    blankPreview();
}

void TForm7::ScrollBar1Change(int position) {
    m_horizontalOffset = position;
    drawPreview();
}

void TForm7::ScrollBar2Change(int position) {
    m_verticalOffset = position;
    drawPreview();
}

// The copy lands in the image folder; a failed copy goes unreported, and the picture is attached
// from where the user picked it all the same.
void TForm7::copyIntoImageFolder(const QString& source) {
    const QString imageFolder = m_settings != nullptr ? ShiftJis::decode(m_settings->ImageFolder) : QString();
    // Without a folder the copy would land in whatever the working folder happens to be.
    if (imageFolder.isEmpty() || !QDir::isAbsolutePath(imageFolder)) {
        return;
    }
    // A picture of the name in another letter case is the one replaced, and keeps its name.
    const QString target = resolveStoredPath(imageFolder + QFileInfo(source).fileName());
    std::error_code error;
    const std::filesystem::path from(source.toStdU16String());
    const std::filesystem::path to(target.toStdU16String());
    if (!QFileInfo::exists(target)) {
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::none, error);
        return;
    }
    if (!UserDialogs::askYesNo(this, MessageIcon::Question, Messages::PictureExists, Answer::No)) {
        return;
    }
    // Copying a file over itself would only destroy it.
    if (std::filesystem::equivalent(from, to, error)) {
        return;
    }
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
}

void TForm7::BitBtn1Click() {
    UserDialogs::guarded(this, [this] {
        const QString source = FileView1->SelectedPath();
        const ShiftJis::Encoded stored = ShiftJis::encode(source);
        if (!stored.ok()) {
            UserDialogs::show(this, MessageIcon::Error, Messages::PicturePathUnencodable);
            return;
        }
        // A cell keeps 250 bytes: a longer path would lose its end when the rows are saved.
        if (stored.bytes.size() > TableRowRecord::CellCapacity) {
            UserDialogs::show(this, MessageIcon::Error, Messages::picturePathTooLong(stored.bytes.size()));
            return;
        }
        if (CheckBox1->isChecked() && QFileInfo(source).isFile()) {
            copyIntoImageFolder(source);
        }
        ProgramSettings::setWindowState(m_programFolder, PictureFolderKey, FolderView1->SelectedPath());
        emit pictureChosen(PickerMode, stored.bytes);
        hide();
    });
}

} // namespace kelvano
