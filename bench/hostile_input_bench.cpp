// Costs that hostile or unusual input used to drive up:
//
// - a header of 20,000 <GETNOWTIME> lines, with one set of formats for the run (as pages are made)
//   against formats made for each line (what every tag cost before), and the same for dates;
// - the preview of JPEG files whose header claims a huge picture (1519 x 56044 and 10000 x 10000
//   pixels in a few hundred bytes), reduced for the 170 x 170 preview against decoded at full size.
//
//   kelvano_hostile_input_bench --benchmark_filter=Macros
//   kelvano_hostile_input_bench --benchmark_filter='JpegPreview/0/1$'   (one picture per process, so
//   kelvano_hostile_input_bench --benchmark_filter='JpegPreview/1/1$'    that the peak resident memory
//   kelvano_hostile_input_bench --benchmark_filter='JpegPreview/0/0$'    belongs to that picture)

#include "../tests/entry/jpeg_writer.h"
#include "core/html/clock.h"
#include "core/html/header_macros.h"
#include "gui/entry/jpeg_file.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

namespace kelvano {
namespace {

constexpr int Lines = 20000;

const QLocale& japanese() {
    static const QLocale locale(QLocale::Japanese, QLocale::Japan);
    return locale;
}

void MacrosWithRunFormats(benchmark::State& state) {
    const QByteArray line = state.range(0) == 0 ? "<p><getnowtime></p>" : "<p><getnowdate></p>";
    for (auto _ : state) {
        const MacroFormats formats(japanese());
        for (int i = 0; i < Lines; ++i) {
            benchmark::DoNotOptimize(ExpandMacros(line, formats, Clock::now()));
        }
    }
}

void MacrosWithFormatsPerLine(benchmark::State& state) {
    const QByteArray line = state.range(0) == 0 ? "<p><getnowtime></p>" : "<p><getnowdate></p>";
    for (auto _ : state) {
        for (int i = 0; i < Lines; ++i) {
            benchmark::DoNotOptimize(ExpandMacros(line, japanese()));
        }
    }
}

/// A small picture whose frame header claims another size: the data ends long before the picture.
QByteArray claimingJpeg(int width, int height, bool progressive) {
    const QByteArray small =
        progressive ? test::progressiveJpegBytes(16, 16, Qt::gray) : test::jpegBytes(16, 16, Qt::gray);
    return test::withDeclaredSize(small, width, height);
}

// Arguments: the picture (0: 1519 x 56044, 1: 10000 x 10000, 2: 1519 x 56044 progressive), and
// 1 for the preview's reduced decoding or 0 for full size.
void JpegPreview(benchmark::State& state) {
    const int picture = static_cast<int>(state.range(0));
    const QByteArray bytes =
        picture == 1 ? claimingJpeg(10000, 10000, false) : claimingJpeg(1519, 56044, picture == 2);
    const QSize cover = state.range(1) == 1 ? QSize(170, 170) : QSize();
    QSize decoded;
    for (auto _ : state) {
        QString error;
        const QImage image = decodeJpeg(bytes, &error, cover);
        decoded = image.size();
        benchmark::DoNotOptimize(image.constBits());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
    state.counters["decoded_w"] = decoded.width();
    state.counters["decoded_h"] = decoded.height();
    state.counters["peak_RSS_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

BENCHMARK(MacrosWithRunFormats)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(MacrosWithFormatsPerLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(JpegPreview)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kelvano

BENCHMARK_MAIN();
