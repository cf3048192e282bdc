// The main window on a screen scaled by a fraction (1.5, as set here) or by 2 (as
// the second CTest entry sets it): the views must draw whole device pixels.
#include "apppaths.h"
#include "gamemodes.h"
#include "mainwindow.h"
#include "scriptedprompts.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {

// Neighbours differ widely in every channel, so a blend of two matches neither.
QImage testPicture()
{
    QImage image(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.setPixel(x, y, qRgb(x * 97 & 0xff, y * 89 & 0xff, (x + y) * 53 & 0xff));
    return image;
}

// The source pixels a device pixel's span overlaps, along one axis.
QList<int> sources(int device, qreal ratio)
{
    const int first = int(std::floor(device / ratio));
    const int last = int(std::ceil((device + 1) / ratio)) - 1;
    QList<int> all;
    for (int s = first; s <= qMin(last, 255); ++s)
        all.append(s);
    return all;
}

} // namespace

class TestScaledViews : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void gridIsDrawnPixelForPixel();
    void swatchesSitInTheMiddleOfTheirRows();

private:
    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    MainWindow *m_window = nullptr;
};

void TestScaledViews::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const ModeInfo &mode : GameModes::modes()) {
        if (!mode.picture)
            continue;
        const QString path = m_dir.filePath(QLatin1String(mode.picture));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(testPicture().save(path, "BMP"));
    }
    for (const ColourInfo &colour : GameModes::colours()) {
        if (colour.picture) {
            const QString path = m_dir.filePath(QLatin1String(colour.picture));
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QVERIFY(testPicture().save(path, "BMP"));
        }
    }
    QFile ini(m_dir.filePath("glyph.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Glyphsmith]\r\nfirst=no\r\n");
    ini.close();
    AppPaths::setProgramFolder(m_dir.path());
    m_window = new MainWindow(m_prompts);
    m_window->startUp();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QVERIFY(m_window->devicePixelRatio() > 1);
}

void TestScaledViews::cleanupTestCase()
{
    delete m_window;
}

// Every device pixel shows one of the picture's pixels under it: no blend of two.
void TestScaledViews::gridIsDrawnPixelForPixel()
{
    const QImage shown = m_window->findChild<QWidget *>(QStringLiteral("CharMap"))
                             ->grab()
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    const qreal ratio = shown.devicePixelRatio();
    const QImage picture = testPicture();
    const int end = int(256 * ratio);
    for (int y = 0; y < end; ++y) {
        for (int x = 0; x < end; ++x) {
            bool found = false;
            for (int sy : sources(y, ratio))
                for (int sx : sources(x, ratio))
                    found = found || shown.pixel(x, y) == picture.pixel(sx, sy);
            if (!found)
                QFAIL(qPrintable(QStringLiteral("device pixel %1, %2 is blended").arg(x).arg(y)));
        }
    }
}

// The swatch's frame is grey: its first and last device rows, in the column just
// inside its left edge, leave the same room above and below within a device pixel.
void TestScaledViews::swatchesSitInTheMiddleOfTheirRows()
{
    auto *list = m_window->findChild<QListWidget *>(QStringLiteral("List1"));
    const QImage shown = list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = shown.devicePixelRatio();
    for (int row = 0; row < list->count(); ++row) {
        const QRect item = list->visualItemRect(list->item(row));
        const int top = int(std::round(item.top() * ratio));
        const int bottom = int(std::round((item.bottom() + 1) * ratio));
        const int x = int(std::round((item.left() + 3) * ratio)) + 1;
        int first = -1;
        int lastRow = -1;
        for (int y = top; y < bottom; ++y) {
            if (shown.pixel(x, y) == qRgb(0x80, 0x80, 0x80)) {
                first = first < 0 ? y : first;
                lastRow = y;
            }
        }
        QVERIFY2(first >= 0, qPrintable(list->item(row)->text()));
        const int above = first - top;
        const int below = bottom - 1 - lastRow;
        QVERIFY2(std::abs(above - below) <= 1, qPrintable(QStringLiteral("%1: %2 above, %3 below")
                                                              .arg(list->item(row)->text())
                                                              .arg(above)
                                                              .arg(below)));
    }
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication app(argc, argv);
    TestScaledViews test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scaledviews.moc"
