#pragma once

#include "core/store/settings_record.h"
#include "gui/entry/picture_use.h"

#include <QImage>
#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace kelvano {

class PreviewArea;
class TFileView;
class TFolderView;

/// The JPEG picture picker: browse folders, preview a JPEG file, copy the chosen picture into the
/// image folder and hand its path to the table data editor as a cell's picture or background.
class TForm7 : public QWidget {
    Q_OBJECT

public:
    static constexpr int PreviewSide = 170;

    explicit TForm7(QWidget* parent = nullptr);

    /// What the picture chosen becomes in the editor's cell.
    PictureUse PickerMode = PictureUse::RightOfText;

    /// Opens the picker for one use: blanks the preview, positions the tree on the folder a picture was
    /// last chosen from (KELVANO.INI), else on the program folder, and shows the window. `settings` are the
    /// folder settings of the table being edited, whose image folder is read when a picture is copied, so the
    /// record must outlive the opening.
    void OpenFor(PictureUse use, const SettingsRecord& settings, const QString& programFolder);
    /// Puts a path into the reference box (the cell's current picture when the picker opens).
    void showReferencePath(const QString& path);
    /// Positions the folder tree.
    void SelectFolder(const QString& folder);

    void FileView1Click();
    void FileView1Change();
    void BitBtn1Click();
    void BitBtn2Click();
    void ScrollBar1Change(int position);
    void ScrollBar2Change(int position);

    const QImage& previewPicture() const { return m_previewPicture; }

signals:
    /// The user confirmed a picture: the path to store, as Shift-JIS bytes.
    void pictureChosen(kelvano::PictureUse use, const QByteArray& path);

private:
    TFolderView* FolderView1 = nullptr;
    TFileView* FileView1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    PreviewArea* Image1 = nullptr; ///< the shadow behind the preview
    PreviewArea* Image2 = nullptr; ///< the preview
    QScrollBar* ScrollBar1 = nullptr;
    QScrollBar* ScrollBar2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* Edit1 = nullptr; ///< the reference box: the path last picked, for display only
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

    void blankPreview();
    void drawPreview();
    void copyIntoImageFolder(const QString& source);

    const SettingsRecord* m_settings = nullptr;
    QString m_programFolder;
    bool m_previewLoaded = false;
    QImage m_previewPicture;
    int m_horizontalOffset = 0;
    int m_verticalOffset = 0;
};

} // namespace kelvano
