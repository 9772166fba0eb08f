#pragma once

// Timing a case against its floor on a shared machine: the two run in turn, one repetition each, so
// that a change of load falls on both; what is reported is each one's median and range and the ratio
// of the medians, beside the target the figure is held to.

#include <QElapsedTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <string>
#include <vector>

namespace kelvano::bench {

/// Measurements of one quantity over the repetitions.
class Samples {
public:
    void add(double value) { m_values.push_back(value); }
    bool empty() const { return m_values.empty(); }
    double median() const {
        std::vector<double> sorted = m_values;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        return n == 0 ? 0 : n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double min() const { return m_values.empty() ? 0 : *std::min_element(m_values.begin(), m_values.end()); }
    double max() const { return m_values.empty() ? 0 : *std::max_element(m_values.begin(), m_values.end()); }

private:
    std::vector<double> m_values;
};

/// Sets the counters `name`_med, `name`_min and `name`_max.
inline void setCounters(benchmark::State& state, const std::string& name, const Samples& samples) {
    state.counters[name + "_med"] = samples.median();
    state.counters[name + "_min"] = samples.min();
    state.counters[name + "_max"] = samples.max();
}

/// Milliseconds that `work` takes.
inline double millisecondsOf(const std::function<void()>& work) {
    QElapsedTimer clock;
    clock.start();
    work();
    return double(clock.nsecsElapsed()) / 1e6;
}

/// Runs `measured` and `floor` in turn `repetitions` times (each after `prepare`, untimed, when
/// given), and sets the counters ms (the case), floor_ms and ratio (of the medians); the label
/// names the target.
inline void alternate(benchmark::State& state, int repetitions, const std::function<void()>& measured,
                      const std::function<void()>& floor, const std::string& target,
                      const std::function<void()>& prepare = {}) {
    Samples caseMs;
    Samples floorMs;
    for (auto _ : state) {
        for (int repetition = 0; repetition < repetitions; ++repetition) {
            if (prepare) {
                prepare();
            }
            caseMs.add(millisecondsOf(measured));
            if (prepare) {
                prepare();
            }
            floorMs.add(millisecondsOf(floor));
        }
    }
    setCounters(state, "ms", caseMs);
    setCounters(state, "floor_ms", floorMs);
    state.counters["ratio"] = caseMs.median() / floorMs.median();
    state.SetLabel(target);
}

} // namespace kelvano::bench
