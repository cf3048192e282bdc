#include "cellgeometry.h"
#include "keystroke.h"

#include <QTest>

using CellGeometry::Cell;

class TestCellGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cellSizeOfGridClient();
    void cellAt_data();
    void cellAt();
    void rectsShareBorderLines();
    void stepSelection_data();
    void stepSelection();
    void keystroke_data();
    void keystroke();
    void characterHelp_data();
    void characterHelp();
    void everyCellHasItsName();
};

// The grid box's client area, inside its 2-pixel frame.
static const QSize kClient(412, 220);

void TestCellGeometry::cellSizeOfGridClient()
{
    QCOMPARE(CellGeometry::cellSize(kClient), QSize(12, 31));
}

void TestCellGeometry::cellAt_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("inside");
    QTest::addColumn<int>("number");

    QTest::newRow("origin is the space") << QPoint(0, 0) << true << 1;
    QTest::newRow("last pixel of the first cell") << QPoint(11, 30) << true << 1;
    QTest::newRow("first pixel of column 1") << QPoint(12, 0) << true << 2;
    QTest::newRow("first pixel of row 1") << QPoint(0, 31) << true << 33;
    QTest::newRow("last pixel of the last cell") << QPoint(383, 216) << true << 224;
    QTest::newRow("remainder right of column 31") << QPoint(384, 0) << false << 0;
    QTest::newRow("far right of the remainder") << QPoint(411, 100) << false << 0;
    QTest::newRow("remainder below row 6") << QPoint(100, 217) << false << 0;
    QTest::newRow("bottom-right client pixel") << QPoint(411, 219) << false << 0;
    QTest::newRow("just left of the grid") << QPoint(-1, 10) << false << 0;
    QTest::newRow("several pixels above the grid") << QPoint(10, -5) << false << 0;
}

void TestCellGeometry::cellAt()
{
    QFETCH(QPoint, point);
    QFETCH(bool, inside);
    QFETCH(int, number);

    const Cell cell = CellGeometry::cellAt(point, CellGeometry::cellSize(kClient));
    QCOMPARE(CellGeometry::isInside(cell), inside);
    if (inside) {
        QCOMPARE(CellGeometry::cellNumber(cell), number);
        QCOMPARE(CellGeometry::cellOfNumber(number), cell);
        QCOMPARE(int(CellGeometry::charCode(cell)), number + 31);
    }
}

void TestCellGeometry::rectsShareBorderLines()
{
    const QSize size(12, 31);
    // Corner points included: the outer rectangle covers both border lines.
    QCOMPARE(CellGeometry::outerRect({1, 2}, size), QRect(12, 62, 13, 32));
    QCOMPARE(CellGeometry::innerRect({1, 2}, size), QRect(13, 63, 11, 30));
    QCOMPARE(CellGeometry::outerRect({0, 0}, size).right(),
             CellGeometry::outerRect({1, 0}, size).left());
    QCOMPARE(CellGeometry::magnifierTopLeft({3, 2}, size), QPoint(41, 92));
}

void TestCellGeometry::stepSelection_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");

    QTest::newRow("right within a row") << 5 << int(Qt::Key_Right) << 6;
    QTest::newRow("right at the row end goes to the next row") << 32 << int(Qt::Key_Right) << 33;
    QTest::newRow("left at the row start goes to the row above") << 33 << int(Qt::Key_Left) << 32;
    QTest::newRow("right on the last cell stays") << 224 << int(Qt::Key_Right) << 224;
    QTest::newRow("left on the first cell stays") << 1 << int(Qt::Key_Left) << 1;
    QTest::newRow("up from row 0 stays") << 20 << int(Qt::Key_Up) << 20;
    QTest::newRow("up from row 1") << 33 << int(Qt::Key_Up) << 1;
    QTest::newRow("down from row 6 stays") << 193 << int(Qt::Key_Down) << 193;
    QTest::newRow("down into row 6") << 192 << int(Qt::Key_Down) << 224;
}

void TestCellGeometry::stepSelection()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    QCOMPARE(CellGeometry::stepSelection(from, key), std::optional<int>(to));
}

void TestCellGeometry::keystroke_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");

    QTest::newRow("1 is the spacebar") << 1 << QStringLiteral("Keystroke: Spacebar");
    QTest::newRow("2 is the exclamation mark") << 2 << QStringLiteral("Keystroke: !");
    QTest::newRow("34 is A") << 34 << QStringLiteral("Keystroke: A");
    QTest::newRow("95 is the tilde") << 95 << QStringLiteral("Keystroke: ~");
    QTest::newRow("96 is Ctrl+1") << 96 << QStringLiteral("Keystroke: Ctrl+1");
    QTest::newRow("97 is Ctrl+2") << 97 << QStringLiteral("Keystroke: Ctrl+2");
    QTest::newRow("98 is the first high code") << 98 << QStringLiteral("Keystroke: Alt+0129");
    QTest::newRow("224 is the last") << 224 << QStringLiteral("Keystroke: Alt+0255");
    QTest::newRow("0 leaves it unchanged") << 0 << QString();
    QTest::newRow("225 leaves it unchanged") << 225 << QString();
}

void TestCellGeometry::keystroke()
{
    QFETCH(int, number);
    QFETCH(QString, text);
    const std::optional<QString> shown = Keystroke::text(number);
    QCOMPARE(shown.has_value(), !text.isNull());
    if (shown)
        QCOMPARE(*shown, text);
}

void TestCellGeometry::characterHelp_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("typing"); // what the tooltip must say about typing it

    QTest::newRow("224, y with diaeresis")
        << 224 << QStringLiteral("U+00FF LATIN SMALL LETTER Y WITH DIAERESIS")
        << QStringList{QStringLiteral("Ctrl+Shift+U, then ff, then Space"),
                       QStringLiteral("Compose, then  \"  y\n")};
    // Windows-1252's own characters go by their Unicode code point, not the byte.
    QTest::newRow("97, the euro sign")
        << 97 << QStringLiteral("U+20AC EURO SIGN")
        << QStringList{QStringLiteral("then 20ac, then"), QStringLiteral("Compose, then  C  =\n")};
    QTest::newRow("no Compose sequence for the dagger")
        << 103 << QStringLiteral("U+2020 DAGGER") << QStringList{QStringLiteral("then 2020, then")};
    QTest::newRow("98, a byte Windows-1252 leaves undefined")
        << 98 << QStringLiteral("U+0081 <control>")
        << QStringList{QStringLiteral("no character for this byte")};
    QTest::newRow("34, A, typed with its own key")
        << 34 << QStringLiteral("U+0041 LATIN CAPITAL LETTER A") << QStringList();
}

void TestCellGeometry::characterHelp()
{
    QFETCH(int, number);
    QFETCH(QString, name);
    QFETCH(QStringList, typing);
    QCOMPARE(Keystroke::name(number), std::optional<QString>(name));
    const QString hint = Keystroke::hint(number).value_or(QString());
    QVERIFY(hint.startsWith(name));
    for (const QString &line : typing)
        QVERIFY2(hint.contains(line), qPrintable(hint));
    // Nothing about typing where the keyboard has the character or there is none.
    QCOMPARE(hint.contains(QStringLiteral("Ctrl+Shift+U")), !typing.isEmpty() && number != 98);
    QCOMPARE(Keystroke::name(0), std::nullopt);
}

void TestCellGeometry::everyCellHasItsName()
{
    // The table is looked up by halving: an entry out of order is not found.
    for (int number = 1; number <= CellGeometry::kCellCount; ++number)
        QVERIFY2(!Keystroke::name(number)->contains(QStringLiteral("unnamed")),
                 qPrintable(QString::number(number)));
}

QTEST_GUILESS_MAIN(TestCellGeometry)
#include "tst_cellgeometry.moc"
