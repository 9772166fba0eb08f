#pragma once

#include "app/window_links.h"
#include "core/table/table_data_model.h"
#include "core/table/table_layers_file.h"
#include "gui/entry/link_list.h"
#include "gui/entry/table_data_editor.h"
#include "gui/entry/table_data_reference.h"
#include "support/controls.h"
#include "support/dialog_recorder.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace kelvano::test {

/// The editor, reference and link list windows over a temporary data folder, wired as the
/// program wires them, with every message recorded.
class EditorFixture : public testing::Test {
protected:
    EditorFixture() {
        m_settings.DataFolder = QFile::encodeName(m_folder.path());
        linkWindows({.Form5 = &m_editor, .Form6 = &m_reference, .Form8 = &m_links});
    }

    TableDataFiles files(const QString& name = QStringLiteral("price")) const {
        return TableDataFiles(m_folder.path(), name);
    }

    /// Writes a table file whose rows have the given first-column texts.
    void writeTable(const QByteArrayList& keys, int columnCount,
                    const QString& name = QStringLiteral("price")) {
        TableLayers layers(columnCount);
        for (const QByteArray& key : keys) {
            TableRow row(columnCount);
            row[0].text = key;
            layers.appendRow(row);
        }
        layers.removeRow(0);
        ASSERT_NO_THROW(TableLayersFile::save(files(name), layers));
    }

    void open(int columnCount, const QByteArray& name = "price") {
        m_editor.OpenTable(m_settings, m_folder.path(), name, columnCount);
        if (m_editor.isVisible()) {
            QApplication::setActiveWindow(&m_editor);
            test::tableView(m_editor, "StringGrid1")->setFocus();
        }
    }

    QTableView* grid() { return test::tableView(m_editor, "StringGrid1"); }
    TableDataModel& model() { return m_editor.model(); }
    QModelIndex current() { return grid()->currentIndex(); }
    void setCurrent(int row, int column) { grid()->setCurrentIndex(model().index(row, column)); }
    QByteArray text(int row, int column) { return model().layers().text(row, column).toByteArray(); }
    QByteArray value(CellLayer layer, int row, int column) {
        return model().layers().value(layer, row, column).toByteArray();
    }
    QString rowLabel(int row) { return model().headerData(row, Qt::Vertical).toString(); }

    /// The in-place editor while it is open.
    QLineEdit* openEditor() {
        for (QLineEdit* editor : grid()->findChildren<QLineEdit*>()) {
            if (editor->isVisible()) {
                return editor;
            }
        }
        return nullptr;
    }
    /// Types text into the current cell as a user does: the first key opens the in-place editor.
    void type(const QString& text) {
        for (const QChar character : text) {
            QWidget* editor = openEditor();
            QTest::keyClick(editor ? editor : grid(), character.toLatin1());
        }
    }
    /// Presses a key where the user's keys go: the in-place editor while it is open, else the grid.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* editor = openEditor();
        QTest::keyClick(editor ? editor : grid(), key, modifiers);
    }
    void trigger(const char* action) {
        QAction* item = m_editor.findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(item, nullptr) << action;
        item->trigger();
    }

    TempFolder m_folder;
    DialogRecorder m_dialogs;
    SettingsRecord m_settings;
    TForm5 m_editor;
    TForm6 m_reference;
    TForm8 m_links;
};

} // namespace kelvano::test
