#pragma once

#include "gui/base/folder_target.h"

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

    /// Which field receives the folder; None once a folder was handed over.
    FolderTarget pickTarget() const { return PickTarget; }

    /// Positions the tree on the folder, sets the target and shows the picker (not modal).
    void Open(const QString& startFolder, FolderTarget target);

    void FormCreate();
    void FormResize();
    void Button1Click();

signals:
    /// A folder passed the write test; its path with a separator appended.
    void folderPicked(FolderTarget target, const QString& folderWithSeparator);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TFolderView* FolderView1 = nullptr;
    TFileView* FileView1 = nullptr;
    QPushButton* Button1 = nullptr;
    FolderTarget PickTarget = FolderTarget::None;
};

} // namespace kelvano
