#include "contrast.h"

#include <QTest>

class TestContrast : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ratio_data();
    void ratio();
    void warningIsReadable_data();
    void warningIsReadable();
};

void TestContrast::ratio_data()
{
    QTest::addColumn<QColor>("a");
    QTest::addColumn<QColor>("b");
    QTest::addColumn<double>("expected");
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("the same colour") << QColor(0x35, 0x35, 0x35) << QColor(0x35, 0x35, 0x35) << 1.0;
    // The colour the check line had, on a dark window: hard to read.
    QTest::newRow("old warning on dark grey")
        << QColor(0x35, 0x35, 0x35) << QColor(0xB0, 0x30, 0x00) << 1.91;
    QTest::newRow("mid grey on white") << QColor(0x76, 0x76, 0x76) << QColor(Qt::white) << 4.54;
}

void TestContrast::ratio()
{
    QFETCH(QColor, a);
    QFETCH(QColor, b);
    QFETCH(double, expected);
    QVERIFY2(qAbs(Contrast::ratio(a, b) - expected) < 0.01,
             qPrintable(QString::number(Contrast::ratio(a, b))));
}

void TestContrast::warningIsReadable_data()
{
    QTest::addColumn<QColor>("background");
    QTest::addColumn<bool>("designed"); // the designed colour itself is kept
    QTest::newRow("white") << QColor(Qt::white) << true;
    QTest::newRow("light grey face") << QColor(0xef, 0xef, 0xef) << true;
    QTest::newRow("beige") << QColor(0xd4, 0xd0, 0xc8) << false;
    QTest::newRow("dark grey") << QColor(0x35, 0x35, 0x35) << false;
    QTest::newRow("blue-grey dark") << QColor(0x31, 0x36, 0x3b) << false;
    QTest::newRow("black") << QColor(Qt::black) << false;
    QTest::newRow("mid grey, the hardest") << QColor(0x77, 0x77, 0x77) << false;
}

void TestContrast::warningIsReadable()
{
    QFETCH(QColor, background);
    QFETCH(bool, designed);
    const QColor warning = Contrast::warningOn(background);
    QVERIFY2(Contrast::ratio(warning, background) >= 4.5, qPrintable(warning.name()));
    QCOMPARE(warning == QColor(0xB0, 0x30, 0x00), designed);
    // Still the warning's red-brown where a shade of it can be read there.
    if (warning != QColor(Qt::black) && warning != QColor(Qt::white))
        QVERIFY2(qAbs(warning.hslHue() - 16) <= 2, qPrintable(warning.name()));
}

QTEST_GUILESS_MAIN(TestContrast)
#include "tst_contrast.moc"
