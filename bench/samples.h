// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of one stage, kept in memory reserved before the measurement starts, and the figure lines
// through which a scenario's process reports to the benchmark.
#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

// One figure of a scenario, as the benchmark reads it from the scenario's standard output.
inline void figure(const char* key, double value) {
    std::printf("figure %s %.6g\n", key, value);
}

// CPU seconds the whole process has used, user and system.
inline double processCpuS() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One writer thread per instance; read only after the writer has stopped.
class Samples {
public:
    // Touches the whole capacity now, so recording never allocates or faults in a page.
    explicit Samples(std::size_t capacity = 0) : m_values(capacity, 0.0) {}

    void add(double value) {
        if (m_count < m_values.size())
            m_values[m_count++] = value;
    }
    std::size_t count() const { return m_count; }

    // Nearest-rank percentile (0-100) of what was recorded; 0 when nothing was.
    double percentile(double p) const {
        if (m_count == 0)
            return 0.0;
        std::vector<double> sorted(m_values.begin(), m_values.begin() + static_cast<std::ptrdiff_t>(m_count));
        std::sort(sorted.begin(), sorted.end());
        const double rank = p / 100.0 * static_cast<double>(m_count);
        std::size_t index = rank <= 1.0 ? 0 : static_cast<std::size_t>(rank + 0.999999) - 1;
        return sorted[std::min(index, m_count - 1)];
    }
    double median() const { return percentile(50.0); }
    double p95() const { return percentile(95.0); }

private:
    std::vector<double> m_values;
    std::size_t m_count = 0;
};

// Median of a few values (repeated runs); 0 for none.
inline double medianOf(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}
