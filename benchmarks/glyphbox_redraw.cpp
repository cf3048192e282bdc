// Prints the median time glyphbox takes to redraw its grid for a font change:
// the font list's selection moves to another installed family, the grid image is
// drawn again and the grid box is repainted. Runs offscreen unless a platform is
// given; the number of runs may be passed as the first argument (default 50).

#include "charform.h"
#include "keystore.h"
#include "qtprompts.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = std::max(1, argc > 1 ? QByteArray(argv[1]).toInt() : 50);

    QTemporaryDir dir;
    QtPrompts prompts;
    CharForm window(prompts, KeyStore(dir.filePath(QStringLiteral("registry.reg"))));
    window.show();
    QApplication::processEvents();

    auto *fonts = window.findChild<QComboBox *>(QStringLiteral("CboFonts"));
    auto *grid = window.findChild<QWidget *>(QStringLiteral("Ascii1"));
    if (!fonts || !grid || fonts->count() < 2) {
        std::fprintf(stderr, "glyphbox_redraw: needs at least two installed font families\n");
        return 1;
    }

    // Up to six families spread over the list, so the runs change between faces
    // that really differ.
    QList<int> picks;
    const int wanted = std::min(6, int(fonts->count()));
    for (int i = 0; i < wanted; ++i)
        picks.append(i * (fonts->count() - 1) / (wanted - 1));

    // One pass first, so loading each font file is not what gets measured.
    for (int index : picks) {
        fonts->setCurrentIndex(index);
        grid->repaint();
    }

    QList<double> times;
    QElapsedTimer timer;
    for (int run = 0; run < runs; ++run) {
        const int index = picks.at(run % picks.size());
        if (fonts->currentIndex() == index)
            continue;
        timer.start();
        fonts->setCurrentIndex(index);
        grid->repaint();
        times.append(timer.nsecsElapsed() / 1.0e6);
    }
    std::sort(times.begin(), times.end());
    const double median = times.size() % 2
                              ? times.at(times.size() / 2)
                              : (times.at(times.size() / 2 - 1) + times.at(times.size() / 2)) / 2;

    QStringList names;
    for (int index : picks)
        names.append(fonts->itemText(index));
    std::printf("glyphbox grid redraw after a font change: median %.3f ms over %lld runs (%s)\n",
                median, qlonglong(times.size()), qPrintable(names.join(QStringLiteral(", "))));
    return 0;
}
