// Generation of one page of a 50-column table, against reading the same data file with cat.
//
//   kelvano_page_bench --benchmark_filter='/1000/'    (one size per process, so that the peak
//   kelvano_page_bench --benchmark_filter='/10000/'    resident memory belongs to that size)

#include "alternation.h"
#include "core/html/page_generator.h"
#include "core/store/save_file.h"
#include "core/store/settings_record.h"
#include "core/store/shift_jis.h"
#include "core/store/table_definition_file.h"
#include "core/store/table_row_record.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>
#include <memory>
#include <sys/resource.h>
#include <tuple>
#include <unistd.h>

namespace kelvano {
namespace {

constexpr int WideTable = 50;

/// A program and data folder holding one table of `columns` columns (50 unless said) and `rows`
/// rows, every cell text filled with `textBytes` bytes (ASCII and Shift-JIS), pages going to html/.
class BenchTable {
public:
    BenchTable(int rows, int textBytes, int columns) {
        const QString folder = m_dir.path() + QLatin1Char('/');
        QDir(folder).mkdir(QStringLiteral("html"));
        const QByteArray folderBytes = ShiftJis::encode(folder).bytes;
        m_settings = {folderBytes, folderBytes + "html/", folderBytes, "grph/"};
        m_programFolder = folder;

        TableDefinition definition;
        definition.FileName = "bench";
        definition.HeaderName = "0:top";
        definition.FooterName = "0:end";
        definition.CaptionText = "Bench";
        definition.ColumnCount = columns;
        for (int i = 0; i < columns; ++i) {
            definition.ColumnAlignments[static_cast<std::size_t>(i)] = static_cast<quint8>(i % 9);
            definition.ColumnFontSizes[static_cast<std::size_t>(i)] = i % 3 - 1;
        }
        TableDefinitionFile(folder).append(definition);
        replaceWholeFile(folder + QStringLiteral("HEAD.0"), "<html><body><p>Updated <getnowdate></p>\r\n");
        replaceWholeFile(folder + QStringLiteral("FOOT.0"), "</body></html>\r\n");

        m_dataPath = folder + QStringLiteral("bench.TBL");
        QFile data(m_dataPath);
        data.open(QIODevice::WriteOnly);
        const QByteArray pattern =
            "Cell " + ShiftJis::encode(QStringLiteral("表ソ価格")).bytes + " 0123456789 ";
        TableRowRecord record;
        for (int row = 0; row < rows; ++row) {
            for (int column = 1; column <= columns; ++column) {
                QByteArray text = QByteArray::number(row) + ':' + QByteArray::number(column) + ' ';
                while (text.size() < textBytes) {
                    text += pattern;
                }
                record.CellTexts[static_cast<std::size_t>(column)] = text.left(textBytes);
            }
            data.write(record.encode());
        }
        m_dataBytes = data.size();
    }

    const SettingsRecord& settings() const { return m_settings; }
    const QString& programFolder() const { return m_programFolder; }
    const QString& dataPath() const { return m_dataPath; }
    qint64 dataBytes() const { return m_dataBytes; }

private:
    QTemporaryDir m_dir;
    SettingsRecord m_settings;
    QString m_programFolder;
    QString m_dataPath;
    qint64 m_dataBytes = 0;
};

BenchTable& tableFor(int rows, int textBytes, int columns = WideTable) {
    static std::map<std::tuple<int, int, int>, std::unique_ptr<BenchTable>> tables;
    auto& table = tables[{rows, textBytes, columns}];
    if (!table) {
        table = std::make_unique<BenchTable>(rows, textBytes, columns);
    }
    return *table;
}

struct SilentReport : PageReport {
    void report(const PageMessage& message) override {
        failed = failed || message.kind() != PageMessageKind::Information;
    }
    bool failed = false;
};

/// User and system time of this process (or of its finished children), in milliseconds.
double cpuMilliseconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto ms = [](const timeval& t) {
        return t.tv_sec * 1e3 + t.tv_usec / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void setCounters(benchmark::State& state, const BenchTable& table, double cpuMs) {
    state.counters["cpu_ms_per_page"] = cpuMs / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations()); // pages
    state.SetBytesProcessed(state.iterations() * table.dataBytes());
    state.counters["data_MB"] = static_cast<double>(table.dataBytes()) / 1e6;
    state.counters["peak_RSS_MB"] = peakResidentMegabytes();
}

void GeneratePage(benchmark::State& state) {
    const BenchTable& table = tableFor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    const double cpuBefore = cpuMilliseconds(RUSAGE_SELF);
    for (auto _ : state) {
        SilentReport report;
        GeneratePages(table.settings(), table.programFolder(), {0}, report, japanese);
        if (report.failed) {
            state.SkipWithError("the page run failed");
            break;
        }
    }
    setCounters(state, table, cpuMilliseconds(RUSAGE_SELF) - cpuBefore);
    state.counters["page_MB"] =
        static_cast<double>(QFileInfo(table.programFolder() + QStringLiteral("html/bench.html")).size()) /
        1e6;
}

void CatDataFile(benchmark::State& state) {
    const BenchTable& table = tableFor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const QByteArray command = "cat '" + QFile::encodeName(table.dataPath()) + "' > /dev/null";
    const double cpuBefore = cpuMilliseconds(RUSAGE_CHILDREN);
    for (auto _ : state) {
        if (std::system(command.constData()) != 0) {
            state.SkipWithError("cat failed");
            break;
        }
    }
    // The time of cat itself (and its shell), not of the waiting parent.
    setCounters(state, table, cpuMilliseconds(RUSAGE_CHILDREN) - cpuBefore);
}

/// Reads every data file whole and writes bytes of each page's size beside the pages, without a
/// sync (or with one sync of the written file, `synced`): the least any page run must do. Gives the
/// seconds it took.
double ioFloorSeconds(const QStringList& dataFiles, const QList<qint64>& pageSizes, const QString& folder,
                      bool synced = false) {
    QElapsedTimer clock;
    clock.start();
    for (qsizetype i = 0; i < dataFiles.size(); ++i) {
        QFile data(dataFiles[i]);
        data.open(QIODevice::ReadOnly);
        QByteArray chunk;
        while (!(chunk = data.read(1 << 20)).isEmpty()) {
        }
        QFile out(folder + QStringLiteral("floor") + QString::number(i) + QStringLiteral(".html"));
        out.open(QIODevice::WriteOnly);
        const QByteArray piece(64 * 1024, 'x');
        for (qint64 left = pageSizes[i]; left > 0; left -= piece.size()) {
            out.write(piece.constData(), std::min<qint64>(left, piece.size()));
        }
        if (synced) {
            out.flush();
            ::fsync(out.handle());
        }
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

/// Many small tables, each with its own five-row data file and page.
class ManyTables {
public:
    ManyTables(int tables, int rows) {
        const QString folder = m_dir.path() + QLatin1Char('/');
        QDir(folder).mkdir(QStringLiteral("html"));
        const QByteArray folderBytes = ShiftJis::encode(folder).bytes;
        m_settings = {folderBytes, folderBytes + "html/", folderBytes, "grph/"};
        m_programFolder = folder;
        replaceWholeFile(folder + QStringLiteral("HEAD.0"), "<html><body><p>Updated <getnowdate></p>\r\n");
        replaceWholeFile(folder + QStringLiteral("FOOT.0"), "</body></html>\r\n");
        QByteArray definitions;
        for (int t = 0; t < tables; ++t) {
            TableDefinition definition;
            definition.TableName = "Table " + QByteArray::number(t);
            definition.FileName = "t" + QByteArray::number(t);
            definition.HeaderName = "0:top";
            definition.FooterName = "0:end";
            definition.ColumnCount = 5;
            definitions += definition.encode();
            QByteArray data;
            TableRowRecord record;
            for (int row = 0; row < rows; ++row) {
                for (int column = 1; column <= 5; ++column) {
                    record.CellTexts[static_cast<std::size_t>(column)] =
                        "Cell " + QByteArray::number(row) + ':' + QByteArray::number(column) + " " +
                        ShiftJis::encode(QStringLiteral("表ソ価格")).bytes;
                }
                data += record.encode();
            }
            const QString dataPath =
                folder + QString::fromLatin1(definition.FileName) + QStringLiteral(".TBL");
            QFile file(dataPath);
            file.open(QIODevice::WriteOnly);
            file.write(data);
            m_dataFiles.append(dataPath);
            m_numbers.append(t);
        }
        QFile table(folder + QStringLiteral("TABLE.DAT"));
        table.open(QIODevice::WriteOnly);
        table.write(definitions);
        table.close();
        // A user's tables are on disk long before they are published.
        ::sync();
    }

    const SettingsRecord& settings() const { return m_settings; }
    const QString& programFolder() const { return m_programFolder; }
    const QStringList& dataFiles() const { return m_dataFiles; }
    const QList<int>& numbers() const { return m_numbers; }
    QList<qint64> pageSizes() const {
        QList<qint64> sizes;
        for (const int t : m_numbers) {
            sizes.append(QFileInfo(m_programFolder + QStringLiteral("html/t") + QString::number(t) +
                                   QStringLiteral(".html"))
                             .size());
        }
        return sizes;
    }

private:
    QTemporaryDir m_dir;
    SettingsRecord m_settings;
    QString m_programFolder;
    QStringList m_dataFiles;
    QList<int> m_numbers;
};

/// 2,000 pages of five rows in one run, against the I/O floor of the same files (counter ratio).
/// Every page replaced atomically costs a new inode and a rename that the floor, overwriting its files
/// in place, does not pay; how much depends on the file system under TMPDIR (tmpfs: least; an ext4
/// without a journal also skips inodes freed in the last minutes, scanning past the pages the
/// iteration before replaced, so back-to-back iterations slow down there). The run reads the next
/// tables on a second thread, so it may take less time than the floor, which reads and writes in turn.
void GenerateManyPages(benchmark::State& state) {
    static ManyTables tables(static_cast<int>(state.range(0)), 5);
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    double runSeconds = 0;
    double floorSeconds = 0;
    double newFileFloorSeconds = 0;
    // The first run makes the pages; the runs after it find them as they would write them (the date
    // macro gives the day), which leaves them alone.
    bench::Samples laterMs;
    double firstMs = -1;
    for (auto _ : state) {
        SilentReport report;
        QElapsedTimer clock;
        clock.start();
        GeneratePages(tables.settings(), tables.programFolder(), tables.numbers(), report, japanese);
        runSeconds += static_cast<double>(clock.nsecsElapsed()) / 1e9;
        if (firstMs < 0) {
            firstMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        } else {
            laterMs.add(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
        if (report.failed) {
            state.SkipWithError("the page run failed");
            break;
        }
        state.PauseTiming();
        floorSeconds += ioFloorSeconds(tables.dataFiles(), tables.pageSizes(), tables.programFolder());
        // The same floor writing every page as a new file, as replacing a page whole must.
        for (qsizetype i = 0; i < tables.dataFiles().size(); ++i) {
            QFile::remove(tables.programFolder() + QStringLiteral("floor") + QString::number(i) +
                          QStringLiteral(".html"));
        }
        ::sync();
        newFileFloorSeconds += ioFloorSeconds(tables.dataFiles(), tables.pageSizes(), tables.programFolder());
        // The run's one sync is for its own pages, not for what the floor left unwritten.
        ::sync();
        state.ResumeTiming();
    }
    state.counters["floor_ms"] = floorSeconds * 1e3 / static_cast<double>(state.iterations());
    state.counters["ratio_to_floor"] = runSeconds / floorSeconds;
    state.counters["ratio_to_new_file_floor"] = runSeconds / newFileFloorSeconds;
    state.counters["first_run_ms"] = firstMs;
    bench::setCounters(state, "later_run_ms", laterMs);
    state.counters["later_over_first"] = laterMs.median() / firstMs;
    state.SetLabel("target: later_over_first <= 1.5");
}

/// What stands at a page's place before a timed write.
enum class OldPage {
    None,         ///< no file
    Other,        ///< a file of the page's size that differs from its first byte
    Same,         ///< the page as the run writes it
    LastByteOther ///< the page with its last byte changed: the comparison's worst case
};

/// Leaves `path` as the benchmark wants it before a timed write (`page`: the page's bytes), on disk;
/// then lets the disk settle.
void prepareTarget(const QString& path, const QByteArray& page, OldPage old) {
    QFile::remove(path);
    if (old != OldPage::None) {
        QByteArray contents = old == OldPage::Other ? QByteArray(page.size(), 'o') : page;
        if (old == OldPage::LastByteOther) {
            contents.back() = '!';
        }
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(contents);
        file.flush();
        ::fsync(file.handle());
    }
    ::sync();
}

/// One large page against reading its data file and writing the page's bytes (counter ratio). The
/// third argument says what stands at the page's place (OldPage): nothing (0), a file of the page's
/// size that differs at once (1; freeing the old file's room is part of the cost), the page itself (2:
/// the run compares and leaves it alone) or the page with its last byte changed (3: the comparison
/// reads the whole old page and copies all but its end); the floor always writes over the same. The
/// page must be on disk before it replaces the old one, which the floor does not wait for: on a disk
/// that wait is the disk's time to write the page (compare ratio_to_synced_floor, the floor with that
/// one sync); with TMPDIR on tmpfs the ratio is the program's own cost. The fourth argument is the
/// table's columns: a narrow table's page reads only the slots of its columns, the floor the whole file.
void GeneratePageAgainstFloor(benchmark::State& state) {
    const BenchTable& table = tableFor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                                       static_cast<int>(state.range(3)));
    const auto old = static_cast<OldPage>(state.range(2));
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    const QString pagePath = table.programFolder() + QStringLiteral("html/bench.html");
    const QString floorPath = table.programFolder() + QStringLiteral("floor0.html");
    SilentReport first;
    GeneratePages(table.settings(), table.programFolder(), {0}, first, japanese);
    QFile written(pagePath);
    written.open(QIODevice::ReadOnly);
    const QByteArray page = written.readAll();
    written.close();
    const qint64 pageSize = page.size();
    bench::Samples runMs;
    bench::Samples floorMs;
    bench::Samples syncedFloorMs;
    bench::Samples runCpuMs;
    bench::Samples floorCpuMs;
    bench::Samples syncedFloorCpuMs;
    for (auto _ : state) {
        state.PauseTiming();
        prepareTarget(pagePath, page, old);
        state.ResumeTiming();
        SilentReport report;
        double cpuBefore = cpuMilliseconds(RUSAGE_SELF);
        runMs.add(bench::millisecondsOf(
            [&] { GeneratePages(table.settings(), table.programFolder(), {0}, report, japanese); }));
        runCpuMs.add(cpuMilliseconds(RUSAGE_SELF) - cpuBefore);
        state.PauseTiming();
        prepareTarget(floorPath, page, old);
        cpuBefore = cpuMilliseconds(RUSAGE_SELF);
        floorMs.add(ioFloorSeconds({table.dataPath()}, {pageSize}, table.programFolder()) * 1e3);
        floorCpuMs.add(cpuMilliseconds(RUSAGE_SELF) - cpuBefore);
        prepareTarget(floorPath, page, old);
        cpuBefore = cpuMilliseconds(RUSAGE_SELF);
        syncedFloorMs.add(ioFloorSeconds({table.dataPath()}, {pageSize}, table.programFolder(), true) * 1e3);
        syncedFloorCpuMs.add(cpuMilliseconds(RUSAGE_SELF) - cpuBefore);
        state.ResumeTiming();
    }
    bench::setCounters(state, "ms", runMs);
    bench::setCounters(state, "floor_ms", floorMs);
    state.counters["ratio_to_floor"] = runMs.median() / floorMs.median();
    state.counters["synced_floor_ms_med"] = syncedFloorMs.median();
    state.counters["ratio_to_synced_floor"] = runMs.median() / syncedFloorMs.median();
    state.counters["cpu_ms_med"] = runCpuMs.median();
    state.counters["floor_cpu_ms_med"] = floorCpuMs.median();
    state.counters["cpu_ratio"] = runCpuMs.median() / floorCpuMs.median();
    // The page is on disk before it replaces the old one; the synced floor pays that writing too.
    state.counters["cpu_ratio_to_synced_floor"] = runCpuMs.median() / syncedFloorCpuMs.median();
    state.counters["peak_RSS_MB"] = peakResidentMegabytes();
    state.SetLabel("target: cpu_ratio <= 1.3 (10,000 rows)");
}

// Arguments: rows, bytes of each cell text.
BENCHMARK(GeneratePage)
    ->ArgsProduct({{1000, 10000}, {40, 250}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(GenerateManyPages)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
// Arguments: rows, bytes of each cell text, what stands at the page's place (OldPage), columns.
BENCHMARK(GeneratePageAgainstFloor)
    ->ArgsProduct({{1000, 10000}, {40}, {0, 1, 2, 3}, {WideTable}})
    ->Args({10000, 40, 0, 10})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(9);
BENCHMARK(CatDataFile)->ArgsProduct({{1000, 10000}, {40, 250}})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace kelvano

BENCHMARK_MAIN();
