#pragma once

#include <QWidget>

class QPushButton;

namespace kelvano {

class TFileView;
class TFolderView;

/// The directory picker: a folder tree with its file list and the button "設定", which checks that a
/// file can be created in the selected folder and hands the folder to the main window's field the
/// picker was opened for.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);

    TFolderView* FolderView1 = nullptr;
    TFileView* FileView1 = nullptr;
    QPushButton* Button1 = nullptr;

    /// Which field receives the folder: 0 none, 1 data folder, 2 HTML folder, 3 image folder.
    quint8 PickTarget = 0;

    /// Positions the tree on the folder, sets the target and shows the picker (not modal).
    void Open(const QString& startFolder, int target);

    void FormCreate();
    void FormResize();
    void Button1Click();

signals:
    /// A folder passed the write test; its path with a separator appended.
    void folderPicked(int target, const QString& folderWithSeparator);

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace kelvano
