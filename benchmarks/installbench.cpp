// SPDX-License-Identifier: GPL-3.0-or-later
// Prints how long InstallFinder::find() takes in a fake home that holds every
// client of the table, its system folders, and a Steam library of 50 games (the
// first argument changes the count): the first call, with the folders fresh in
// the kernel's cache as after a start, and the median of the runs (default 50;
// the second argument changes it). Also the same for an empty home.
// With --keep N it lays out such a home with N Steam games, prints its folder and
// leaves it, for the launch benchmark.
#include "fakeinstalls.h"
#include "installfinder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

struct Figures
{
    double firstMs = 0;
    double medianMs = 0;
    qsizetype found = 0;
};

Figures measure(const InstallPlaces &places, int runs)
{
    QList<double> times;
    Figures f;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QList<Installation> found = InstallFinder::find(places);
        times << timer.nsecsElapsed() / 1e6;
        f.found = found.size();
    }
    f.firstMs = times.first();
    std::sort(times.begin(), times.end());
    f.medianMs = times[times.size() / 2];
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() > 1 && args[1] == QLatin1String("--keep")) {
        FakeInstalls kept;
        if (!kept.isValid() || !kept.everyClient(args.size() > 2 ? args[2].toInt() : 50))
            return 1;
        kept.keep();
        std::printf("%s\n", qPrintable(kept.places().home));
        return 0;
    }
    const int games = args.size() > 1 ? std::max(3, args[1].toInt()) : 50;
    const int runs = args.size() > 2 ? std::max(1, args[2].toInt()) : 50;

    FakeInstalls every;
    FakeInstalls empty;
    if (!every.isValid() || !empty.isValid() || !every.everyClient(games)) {
        std::fprintf(stderr, "installbench: cannot lay out the fake home\n");
        return 1;
    }
    const Figures full = measure(every.places(), runs);
    const Figures none = measure(empty.places(), runs);
    std::printf("installations: every client + Steam library of %d games: %lld found, first "
                "%.3f ms, median %.3f ms of %d\n",
                games, static_cast<long long>(full.found), full.firstMs, full.medianMs, runs);
    std::printf("installations: empty home: %lld found, first %.3f ms, median %.3f ms of %d\n",
                static_cast<long long>(none.found), none.firstMs, none.medianMs, runs);
    return 0;
}
