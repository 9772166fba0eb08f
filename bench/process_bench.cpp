// Whole processes against their floors, each pair in turn within one run: kelvano-publish's CSV import
// and export, and the program's start-up to the main window's first paint.
//
//   kelvano_process_bench --benchmark_counters_tabular=true
//   xvfb-run -a kelvano_process_bench --benchmark_filter=StartUp      (StartUp/1 needs a display)
//   kelvano_process_bench --fixture ROWS     (a program folder with the export's table, kept, for
//                                            profiling the tool by hand; prints its path)
//
// Floors are processes too (this program started again with --floor), so a process's start counts on
// both sides. Peak memory is the child's own (wait4's ru_maxrss).

#include "alternation.h"
#include "cell_texts.h"
#include "core/store/save_file.h"
#include "core/store/settings_record.h"
#include "core/store/shift_jis.h"
#include "core/store/table_definition.h"
#include "core/store/table_row_record.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvano {
namespace {

constexpr int Columns = 50;

QString benchFolder() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + QLatin1Char('/');
}

struct ProcessRun {
    double wallMs = 0;
    double cpuMs = 0;
    double peakMiB = 0;
    int status = 0;
};

/// Starts `program` with `arguments` (its output to /dev/null, or to `output`), waits for it, and
/// tells its wall and CPU time and peak resident memory.
ProcessRun runProcess(const QString& program, const QStringList& arguments,
                      const QList<QPair<QByteArray, QByteArray>>& environment = {},
                      const QString& output = {}) {
    QList<QByteArray> argv{QFile::encodeName(program)};
    for (const QString& argument : arguments) {
        argv.append(QFile::encodeName(argument));
    }
    std::vector<char*> pointers;
    for (QByteArray& argument : argv) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    const QByteArray outputPath = output.isEmpty() ? QByteArray("/dev/null") : QFile::encodeName(output);
    ProcessRun run;
    const double wall = bench::millisecondsOf([&] {
        const pid_t child = ::fork();
        if (child == 0) {
            for (const auto& [name, value] : environment) {
                ::setenv(name.constData(), value.constData(), 1);
            }
            const int out = ::open(outputPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
            ::execv(pointers[0], pointers.data());
            ::_exit(127);
        }
        int status = 0;
        rusage usage{};
        ::wait4(child, &status, 0, &usage);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        const auto ms = [](const timeval& t) {
            return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
        };
        run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
        run.peakMiB = double(usage.ru_maxrss) / 1024;
    });
    run.wallMs = wall;
    return run;
}

/// A case and its floor, both whole processes, measured in turn.
struct ProcessPair {
    bench::Samples caseMs, caseCpuMs, casePeakMiB, floorMs, floorCpuMs, floorPeakMiB;

    void add(const ProcessRun& measured, const ProcessRun& floor) {
        caseMs.add(measured.wallMs);
        caseCpuMs.add(measured.cpuMs);
        casePeakMiB.add(measured.peakMiB);
        floorMs.add(floor.wallMs);
        floorCpuMs.add(floor.cpuMs);
        floorPeakMiB.add(floor.peakMiB);
    }
    void report(benchmark::State& state, const std::string& target) const {
        bench::setCounters(state, "ms", caseMs);
        state.counters["cpu_ms_med"] = caseCpuMs.median();
        state.counters["peak_MiB"] = casePeakMiB.max();
        bench::setCounters(state, "floor_ms", floorMs);
        state.counters["floor_cpu_ms_med"] = floorCpuMs.median();
        state.counters["floor_peak_MiB"] = floorPeakMiB.max();
        state.counters["ratio"] = caseMs.median() / floorMs.median();
        state.SetLabel(target);
    }
};

/// A program folder holding one 50-column table "bench" (number 0) in a data folder of its own.
class ProgramFolder {
public:
    ProgramFolder() {
        const QByteArray folder = ShiftJis::encode(path()).bytes;
        replaceWholeFile(path() + QStringLiteral("TAVELO.DAT"),
                         SettingsRecord{folder, folder, folder, ""}.encode());
        TableDefinition definition;
        definition.TableName = "bench";
        definition.FileName = "bench";
        definition.ColumnCount = Columns;
        replaceWholeFile(path() + QStringLiteral("TABLE.DAT"), definition.encode());
    }
    QString path() const { return m_folder.path() + QLatin1Char('/'); }
    QString tablePath() const { return path() + QStringLiteral("bench.TBL"); }
    void keep() { m_folder.setAutoRemove(false); }

private:
    QTemporaryDir m_folder;
};

/// Writes `rows` rows of the bench texts as a UTF-8 CSV file with a byte-order mark.
void writeCsv(const QString& path, int rows) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("\xEF\xBB\xBF");
    QByteArray chunk;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            chunk += (column > 0 ? "," : "") + bench::cellText(row, column, true);
        }
        chunk += "\r\n";
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
}

/// Writes a ".TBL" file of `rows` rows of the bench texts (in Shift-JIS).
void writeTable(const QString& path, int rows) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    TableRowRecord record;
    for (int row = 0; row < rows; ++row) {
        for (int column = 1; column <= Columns; ++column) {
            record.CellTexts[size_t(column)] = bench::cellText(row, column - 1, false);
        }
        file.write(record.encode());
    }
}

const QString Publish = QStringLiteral("kelvano-publish");

/// The least an import or export must do, as a process of its own: reads `input` whole, in large
/// pieces, and writes the bytes of `reference` as a new file beside `output` that is synced and
/// renamed over it, as the tool's replacement does (which starts writing back every 8 MiB).
ProcessRun floorProcess(const QString& input, const QString& reference, const QString& output) {
    return runProcess(benchFolder() + QStringLiteral("kelvano_process_bench"),
                      {QStringLiteral("--floor"), input, reference, output});
}

int runFloor(const char* input, const char* reference, const char* output) {
    std::vector<char> buffer(1 << 20);
    const int in = ::open(input, O_RDONLY);
    while (::read(in, buffer.data(), buffer.size()) > 0) {
    }
    ::close(in);
    const std::string scratch = std::string(output) + ".floor.tmp";
    const int source = ::open(reference, O_RDONLY);
    const int out = ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    off_t written = 0;
    for (ssize_t got = 0; (got = ::read(source, buffer.data(), buffer.size())) > 0;) {
        if (::write(out, buffer.data(), size_t(got)) != got) {
            return 1;
        }
        written += got;
        // Written back while writing, every 8 MiB, as the program's large files are.
        if (written % (8 << 20) == 0) {
            ::sync_file_range(out, written - (8 << 20), 8 << 20, SYNC_FILE_RANGE_WRITE);
        }
    }
    ::fsync(out);
    ::close(out);
    ::close(source);
    return std::rename(scratch.c_str(), output) == 0 ? 0 : 1;
}

/// --import-csv of a 50-column CSV file of `rows` rows, replacing the table's rows, against reading
/// the CSV and writing the resulting ".TBL" bytes.
void ToolImportCsv(benchmark::State& state) {
    const int rows = int(state.range(0));
    ProgramFolder program;
    const QString csv = program.path() + QStringLiteral("in.csv");
    writeCsv(csv, rows);
    ::sync(); // the input on disk, so that writing it back does not run beside the timed processes
    const QStringList arguments{QStringLiteral("--program-folder"), program.path(),
                                QStringLiteral("--import-csv"), QStringLiteral("0"), csv};
    if (runProcess(benchFolder() + Publish, arguments).status != 0) {
        state.SkipWithError("the import failed");
        return;
    }
    const QString reference = program.path() + QStringLiteral("reference.TBL");
    QFile::copy(program.tablePath(), reference);
    const QString floorOutput = program.path() + QStringLiteral("floor.TBL");
    ProcessPair pair;
    for (auto _ : state) {
        for (int repetition = 0; repetition < 7; ++repetition) {
            const ProcessRun imported = runProcess(benchFolder() + Publish, arguments);
            pair.add(imported, floorProcess(csv, reference, floorOutput));
        }
    }
    pair.report(state, "target: <= 1000 ms, <= 64 MiB peak");
}
BENCHMARK(ToolImportCsv)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

/// A Python program writing the same rows with its csv module (the texts made as cellText makes them,
/// the same quoting and line ends): the bytes of the tool's export.
ProcessRun pythonCsvWriter(int rows, const QString& output) {
    return runProcess(QStringLiteral("/usr/bin/python3"),
                      {QStringLiteral("-c"),
                       QStringLiteral("import csv, sys\n"
                                      "with open(sys.argv[2], 'w', newline='', encoding='utf-8-sig') as o:\n"
                                      "    w = csv.writer(o)\n"
                                      "    for r in range(int(sys.argv[1])):\n"
                                      "        w.writerow([str((r * 7919 + c * 104729) % 1000003)\n"
                                      "                    + ('\u8868\u30bd' if (r + c) % 2 == 0 else '')\n"
                                      "                    + '-' + str(c) for c in range(%1)])\n")
                           .arg(Columns),
                       QString::number(rows), output});
}

/// --export-csv of a 50-column table of `rows` rows, against reading the ".TBL" and writing the CSV's
/// bytes, and against a Python csv writer making the same bytes.
void ToolExportCsv(benchmark::State& state) {
    const int rows = int(state.range(0));
    ProgramFolder program;
    writeTable(program.tablePath(), rows);
    ::sync(); // the 3 GB table on disk, so that writing it back does not run beside the timed processes
    const QString csv = program.path() + QStringLiteral("out.csv");
    const QStringList arguments{QStringLiteral("--program-folder"), program.path(),
                                QStringLiteral("--export-csv"), QStringLiteral("0"), csv};
    if (runProcess(benchFolder() + Publish, arguments).status != 0) {
        state.SkipWithError("the export failed");
        return;
    }
    const QString reference = program.path() + QStringLiteral("reference.csv");
    QFile::copy(csv, reference);
    const QString floorOutput = program.path() + QStringLiteral("floor.csv");
    const QString pythonOutput = program.path() + QStringLiteral("python.csv");
    ProcessPair pair;
    bench::Samples pythonMs;
    bench::Samples pythonCpuMs;
    for (auto _ : state) {
        for (int repetition = 0; repetition < 5; ++repetition) {
            const ProcessRun exported = runProcess(benchFolder() + Publish, arguments);
            pair.add(exported, floorProcess(program.tablePath(), reference, floorOutput));
            const ProcessRun python = pythonCsvWriter(rows, pythonOutput);
            pythonMs.add(python.wallMs);
            pythonCpuMs.add(python.cpuMs);
        }
    }
    pair.report(state, "target: <= 64 MiB peak, python_ratio <= 0.3");
    bench::setCounters(state, "python_ms", pythonMs);
    QFile written(pythonOutput);
    QFile exported(reference);
    if (!written.open(QIODevice::ReadOnly) || !exported.open(QIODevice::ReadOnly) ||
        written.readAll() != exported.readAll()) {
        state.SkipWithError("the Python writer wrote other bytes");
    }
    state.counters["python_ratio"] = pair.caseMs.median() / pythonMs.median();
    state.counters["python_cpu_ratio"] = pair.caseCpuMs.median() / pythonCpuMs.median();
}
BENCHMARK(ToolExportCsv)->Arg(65534)->Unit(benchmark::kMillisecond)->Iterations(1);

/// The program from start to the main window's first paint (KELVANO_END_AFTER_FIRST_PAINT), on the
/// offscreen platform (0) or the display (1), against `kelvano --version` (loading the program and
/// its libraries). The program runs from a folder of its own, which is its program folder.
void StartUp(benchmark::State& state) {
    const bool onDisplay = state.range(0) == 1;
    if (onDisplay && qEnvironmentVariableIsEmpty("DISPLAY")) {
        state.SkipWithError("no DISPLAY (run under xvfb-run -a)");
        return;
    }
    QTemporaryDir folder;
    const QString program = folder.path() + QStringLiteral("/kelvano");
    QFile::copy(benchFolder() + QStringLiteral("kelvano"), program);
    QList<QPair<QByteArray, QByteArray>> environment{{"KELVANO_END_AFTER_FIRST_PAINT", "1"}};
    if (!onDisplay) {
        environment.append(qMakePair(QByteArray("QT_QPA_PLATFORM"), QByteArray("offscreen")));
    }
    if (runProcess(program, {}, environment).status != 0) {
        state.SkipWithError("the program did not end after its first paint");
        return;
    }
    ProcessPair pair;
    for (auto _ : state) {
        for (int repetition = 0; repetition < 15; ++repetition) {
            const ProcessRun started = runProcess(program, {}, environment);
            pair.add(started, runProcess(program, {QStringLiteral("--version")}));
        }
    }
    pair.report(state, onDisplay ? "target: <= 100 ms (Xvfb)" : "offscreen");
}
BENCHMARK(StartUp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace kelvano

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--floor") == 0) {
        return kelvano::runFloor(argv[2], argv[3], argv[4]);
    }
    if (argc == 3 && std::strcmp(argv[1], "--fixture") == 0) {
        const QCoreApplication app(argc, argv);
        kelvano::ProgramFolder program;
        program.keep();
        kelvano::writeTable(program.tablePath(), std::atoi(argv[2]));
        std::printf("%s\n", qPrintable(program.path()));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
