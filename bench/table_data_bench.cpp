// Speed of the table data editor on large tables: loading, sorting and saving a table's rows, opening
// it in the editor, and one typed character.

#include "alternation.h"
#include "cell_texts.h"
#include "core/table/table_data_model.h"
#include "core/table/table_layers_file.h"
#include "core/table/text_collation.h"
#include "gui/base/user_dialogs.h"
#include "gui/entry/table_data_editor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <unistd.h>

namespace kelvano {
namespace {

constexpr int Columns = 50;

TableLayers filledTable(int rows) {
    TableLayers layers(Columns);
    for (int row = 0; row < rows; ++row) {
        TableRow cells(Columns);
        for (int column = 0; column < Columns; ++column) {
            cells[column].text = bench::cellText(row, column, false);
        }
        layers.appendRow(cells);
    }
    layers.removeRow(0);
    return layers;
}

/// A data folder holding one filled table "bench" of the given number of rows.
class TableOnDisk {
public:
    explicit TableOnDisk(int rows) : m_files(m_folder.path() + QLatin1Char('/'), QStringLiteral("bench")) {
        TableLayersFile::save(m_files, filledTable(rows));
    }
    const TableDataFiles& files() const { return m_files; }
    QString folder() const { return m_folder.path() + QLatin1Char('/'); }

private:
    QTemporaryDir m_folder;
    TableDataFiles m_files;
};

TableOnDisk& tenThousandRows() {
    static TableOnDisk table(10000);
    return table;
}

/// Resident memory in megabytes.
double residentMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / (1024 * 1024) : 0;
}

void LoadTenThousandRows(benchmark::State& state) {
    tenThousandRows();
    double held = 0;
    for (auto _ : state) {
        const double before = residentMegabytes();
        TableLayersFile::Loaded loaded = TableLayersFile::load(tenThousandRows().files(), Columns);
        benchmark::DoNotOptimize(loaded.layers.rowCount());
        held = std::max(held, residentMegabytes() - before);
    }
    state.counters["held_MB"] = held;
}
BENCHMARK(LoadTenThousandRows)->Unit(benchmark::kMillisecond)->Iterations(3);

/// Writes (and syncs) bytes of `rows` records in chunks of 20 records: the least a save must do.
void writeSameBytesRaw(const QString& path, int rows) {
    static const QByteArray chunk(20 * TableRowRecord::Size, 'x');
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    for (int written = 0; written < rows; written += 20) {
        file.write(chunk);
    }
    ::fsync(file.handle()); // as the atomic save does before it renames
    file.close();
}

/// Saving 10,000 rows, in turn with writing the same number of bytes raw (the floor).
void SaveTenThousandRows(benchmark::State& state) {
    const TableLayers layers = filledTable(10000);
    QTemporaryDir folder;
    const TableDataFiles files(folder.path() + QLatin1Char('/'), QStringLiteral("saved"));
    bench::alternate(
        state, 9, [&] { TableLayersFile::save(files, layers); },
        [&] { writeSameBytesRaw(folder.filePath(QStringLiteral("raw")), 10000); },
        "floor: the same bytes written");
}
BENCHMARK(SaveTenThousandRows)->Unit(benchmark::kMillisecond)->Iterations(1);

void SortRows(benchmark::State& state) {
    const TableLayers table = filledTable(int(state.range(0)));
    const TextCollation collation(QStringLiteral("ja_JP"));
    for (auto _ : state) {
        state.PauseTiming();
        TableLayers layers = table;
        state.ResumeTiming();
        layers.sortRows(3, Qt::AscendingOrder, collation);
        benchmark::DoNotOptimize(layers.text(0, 0));
    }
}
BENCHMARK(SortRows)->Arg(10000)->Arg(TableLayers::MaxRows)->Unit(benchmark::kMillisecond)->Iterations(3);

/// Reads a file whole in pieces of a megabyte, as the least an opening must do.
void readWhole(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    while (!file.read(1 << 20).isEmpty()) {
    }
}

/// Opening in the editor: loading, measuring every text for the column widths, showing the grid; in
/// turn with reading the data file.
void OpenInEditor(benchmark::State& state) {
    TForm5 editor;
    SettingsRecord settings;
    settings.DataFolder = QFile::encodeName(tenThousandRows().folder());
    bench::alternate(
        state, 9,
        [&] {
            editor.OpenTable(settings, tenThousandRows().folder(), "bench", Columns);
            QApplication::processEvents();
        },
        [&] { readWhole(tenThousandRows().files().tablePath()); }, "target: ms_med <= 200");
    editor.hide();
}
BENCHMARK(OpenInEditor)->Unit(benchmark::kMillisecond)->Iterations(1);

/// One typed character in a 10,000-row table: the cell changes, the columns are sized, the grid repaints.
void TypedCharacter(benchmark::State& state) {
    TForm5 editor;
    SettingsRecord settings;
    settings.DataFolder = QFile::encodeName(tenThousandRows().folder());
    editor.OpenTable(settings, tenThousandRows().folder(), "bench", Columns);
    QApplication::processEvents();
    TableDataModel& model = editor.model();
    const QModelIndex cell = model.index(5, 5);
    QString text = model.data(cell).toString();
    QTableView* grid = editor.findChild<QTableView*>(QStringLiteral("StringGrid1"));
    for (auto _ : state) {
        text += QLatin1Char('x');
        model.setData(cell, text);
        editor.AutoSizeColumns();
        editor.DrawCellMarkers();
        grid->viewport()->repaint();
    }
    editor.hide();
}
BENCHMARK(TypedCharacter)->Unit(benchmark::kMicrosecond)->Iterations(200);

/// A key typed into the cell editor open on a cell of a 10,000-row table, as a key event: the editor's
/// text changes, the cell takes it, the columns are sized and the grid is drawn again.
void KeyTypedInCellEditor(benchmark::State& state) {
    TForm5 editor;
    SettingsRecord settings;
    settings.DataFolder = QFile::encodeName(tenThousandRows().folder());
    editor.OpenTable(settings, tenThousandRows().folder(), "bench", Columns);
    QTableView* grid = editor.findChild<QTableView*>(QStringLiteral("StringGrid1"));
    grid->setCurrentIndex(editor.model().index(5, 5));
    grid->edit(grid->currentIndex());
    QApplication::processEvents();
    QLineEdit* cellEditor = grid->findChild<QLineEdit*>();
    if (cellEditor == nullptr) {
        state.SkipWithError("no cell editor opened");
        return;
    }
    bench::Samples keyMs;
    for (auto _ : state) {
        for (int key = 0; key < 200; ++key) {
            keyMs.add(bench::millisecondsOf([&] {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
                QApplication::sendEvent(cellEditor, &press);
                QApplication::sendEvent(cellEditor, &release);
                QApplication::processEvents();
                grid->viewport()->repaint();
            }));
        }
    }
    bench::setCounters(state, "ms", keyMs);
    editor.hide();
}
BENCHMARK(KeyTypedInCellEditor)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace kelvano
