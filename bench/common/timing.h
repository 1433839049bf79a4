#pragma once

#include <QList>

#include <functional>

namespace bench {

double median(QList<double> values);

/// Median wall time of `runs` runs of `work`, in ms.
double medianMs(int runs, const std::function<void()> &work);

/// Processor time of the whole process in ms (the embedded engine works in
/// it): on a machine shared with other work it says what wall time cannot.
double cpuMs();

} // namespace bench
