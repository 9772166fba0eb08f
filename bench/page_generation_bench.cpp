// Generation of one page of a 50-column table, against reading the same data file with cat.
//
//   kelvano_page_bench --benchmark_filter='/1000/'    (one size per process, so that the peak
//   kelvano_page_bench --benchmark_filter='/10000/'    resident memory belongs to that size)

#include "core/html/page_generator.h"
#include "core/store/save_file.h"
#include "core/store/settings_record.h"
#include "core/store/shift_jis.h"
#include "core/store/table_definition_file.h"
#include "core/store/table_row_record.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>
#include <memory>
#include <sys/resource.h>

namespace kelvano {
namespace {

constexpr int Columns = 50;

/// A program and data folder holding one 50-column table of `rows` rows, every cell text filled
/// with `textBytes` bytes (ASCII and Shift-JIS), pages going to html/.
class BenchTable {
public:
    BenchTable(int rows, int textBytes) {
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
        definition.ColumnCount = Columns;
        for (int i = 0; i < Columns; ++i) {
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
            for (int column = 1; column <= Columns; ++column) {
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

BenchTable& tableFor(int rows, int textBytes) {
    static std::map<std::pair<int, int>, std::unique_ptr<BenchTable>> tables;
    auto& table = tables[{rows, textBytes}];
    if (!table) {
        table = std::make_unique<BenchTable>(rows, textBytes);
    }
    return *table;
}

struct SilentReport : PageReport {
    void report(const PageMessage& message) override {
        failed = failed || message.kind != PageMessageKind::Information;
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

// Arguments: rows, bytes of each cell text.
BENCHMARK(GeneratePage)
    ->ArgsProduct({{1000, 10000}, {40, 250}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(CatDataFile)->ArgsProduct({{1000, 10000}, {40, 250}})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace kelvano

BENCHMARK_MAIN();
