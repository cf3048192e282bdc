#include "firstshow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace {

double msSinceProcessStart()
{
    // CPU-independent wall clock of this process: boot time of the process is not
    // portable, so the launcher passes its own start stamp and we print ours.
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1.0e6;
}

class Watcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            // Let the paint finish before reporting.
            QTimer::singleShot(0, watched, [] {
                std::printf("first-show %.3f\n", msSinceProcessStart());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

} // namespace

namespace FirstShow {

void watch(QWidget *window)
{
    if (!window || qEnvironmentVariableIsEmpty("GLYPH_EXIT_ON_FIRST_SHOW"))
        return;
    window->installEventFilter(new Watcher(window));
}

} // namespace FirstShow
