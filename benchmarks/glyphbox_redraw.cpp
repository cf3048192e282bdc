// Prints how long glyphbox takes to show a font picked in its font list: the
// selection moves to another family and the window is repainted. Each of up to
// 20 families spread over the list is visited twice: first cold (the process has
// never used it, so this includes loading it), then warm.
//   glyphbox_redraw [families to visit]
// Runs on the display given (tools/bench.sh starts its own), offscreen without one.

#include "charform.h"
#include "keystore.h"
#include "qtprompts.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <cstdio>

namespace {

void printFigures(const char *what, QList<double> times)
{
    std::sort(times.begin(), times.end());
    const qsizetype n = times.size();
    const double median = n % 2 ? times.at(n / 2) : (times.at(n / 2 - 1) + times.at(n / 2)) / 2;
    std::printf("%-28s min %7.2f  median %7.2f  max %7.2f ms  (%lld fonts)\n", what, times.first(),
                median, times.last(), qlonglong(n));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int wanted = std::max(2, argc > 1 ? QByteArray(argv[1]).toInt() : 20);

    QTemporaryDir dir;
    QtPrompts prompts;
    CharForm window(prompts, KeyStore(dir.filePath(QStringLiteral("registry.reg"))));
    window.show();
    QElapsedTimer wait;
    wait.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && wait.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();

    auto *fonts = window.findChild<QComboBox *>(QStringLiteral("CboFonts"));
    if (!fonts || fonts->count() < 3) {
        std::fprintf(stderr, "glyphbox_redraw: needs at least three installed font families\n");
        return 1;
    }

    // Families spread over the list, none of them the one shown at start or the
    // window's own text font, so that each first visit is the first use.
    const QString windowFamily = QFontInfo(window.font()).family();
    QList<int> picks;
    const int count = fonts->count();
    const int n = std::min(wanted, count - 1);
    for (int i = 0; i < n * 2 && picks.size() < n; ++i) {
        const int index = (i * (count - 1)) / (n * 2 - 1);
        if (index != fonts->currentIndex() && !picks.contains(index) &&
            fonts->itemText(index) != windowFamily)
            picks.append(index);
    }

    QList<double> cold;
    QList<double> warm;
    QElapsedTimer timer;
    for (QList<double> *times : {&cold, &warm}) {
        for (int index : picks) {
            timer.start();
            fonts->setCurrentIndex(index);
            window.repaint();
            times->append(timer.nsecsElapsed() / 1.0e6);
        }
    }

    std::printf("glyphbox font change, %lld families installed, platform %s\n",
                qlonglong(QFontDatabase::families().size()),
                qPrintable(QGuiApplication::platformName()));
    printFigures("first visit of a font (cold)", cold);
    printFigures("visit again (warm)", warm);
    return 0;
}
