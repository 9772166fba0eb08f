// Speed of the table data editor on large tables: loading, sorting and saving a table's rows, opening
// it in the editor, and one typed character.

#include "cell_texts.h"
#include "core/table/table_data_model.h"
#include "core/table/table_layers_file.h"
#include "core/table/text_collation.h"
#include "gui/base/user_dialogs.h"
#include "gui/entry/table_data_editor.h"

#include <QApplication>
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

void SaveTenThousandRows(benchmark::State& state) {
    const TableLayers layers = filledTable(10000);
    QTemporaryDir folder;
    const TableDataFiles files(folder.path() + QLatin1Char('/'), QStringLiteral("saved"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(TableLayersFile::save(files, layers));
    }
    state.SetBytesProcessed(state.iterations() * 10000 * TableRowRecord::Size);
}
BENCHMARK(SaveTenThousandRows)->Unit(benchmark::kMillisecond)->Iterations(3);

/// The time of writing (and syncing) the same bytes in the same chunks, for comparison with saving.
void WriteSameBytesRaw(benchmark::State& state) {
    QTemporaryDir folder;
    const QByteArray chunk(20 * TableRowRecord::Size, 'x');
    for (auto _ : state) {
        QFile file(folder.filePath(QStringLiteral("raw")));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
        for (int written = 0; written < 10000; written += 20) {
            file.write(chunk);
        }
        ::fsync(file.handle()); // as the atomic save does before it renames
        file.close();
    }
    state.SetBytesProcessed(state.iterations() * 10000 * TableRowRecord::Size);
}
BENCHMARK(WriteSameBytesRaw)->Unit(benchmark::kMillisecond)->Iterations(3);

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

/// Opening in the editor: loading, measuring every text for the column widths, showing the grid.
void OpenInEditor(benchmark::State& state) {
    TForm5 editor;
    SettingsRecord settings;
    settings.DataFolder = QFile::encodeName(tenThousandRows().folder());
    for (auto _ : state) {
        editor.OpenTable(settings, tenThousandRows().folder(), "bench", Columns);
        QApplication::processEvents();
    }
    editor.hide();
}
BENCHMARK(OpenInEditor)->Unit(benchmark::kMillisecond)->Iterations(3);

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

} // namespace
} // namespace kelvano
