#include "charmapmodel.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QRawFont>
#include <QSignalSpy>
#include <QTest>

using CellGeometry::Cell;

class TestCharMapModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startupSelectsTheSpace();
    void pressDragReleaseSelectsWhereReleased();
    void dragBackToTheLastDraggedCell();
    void magnifierShowsTheCellUnderThePointer();
    void pointerDuringADrag();
    void rightPressChangesNothing();
    void pressOutsideTheCells_data();
    void pressOutsideTheCells();
    void arrowKeys_data();
    void arrowKeys();
    void fontChangeHighlightsTheSelectionAgain();
    void leavingACellRestoresIt_data();
    void leavingACellRestoresIt();
    void highlightKeepsTheCharacterInPlace();
    void cellsTheFontLacksAreMarked();
    void magnifierFollowsAFontChange_data();
    void magnifierFollowsAFontChange();

private:
    // The middle of a cell, in the grid's client pixels.
    static QPoint at(Cell cell) { return {cell.col * 12 + 6, cell.row * 31 + 15}; }
    QRgb pixel(QPoint p) const { return m_model->gridImage().pixel(p); }
    bool isHighlighted(Cell cell) const
    {
        // A pixel of the fill that the focus rectangle's dots leave alone.
        return pixel({cell.col * 12 + 1 + 5, cell.row * 31 + 28}) == kHighlight.rgb();
    }

    QImage inside(Cell cell) const
    {
        return m_model->gridImage().copy(CellGeometry::innerRect(cell, {12, 31}));
    }
    // The pixels of a cell's inside that differ from `background`, without the
    // outline where the focus rectangle's dots go.
    QList<QPoint> ink(Cell cell, QRgb background) const
    {
        const QImage image = inside(cell);
        QList<QPoint> points;
        for (int y = 1; y < image.height() - 1; ++y)
            for (int x = 1; x < image.width() - 1; ++x)
                if (image.pixel(x, y) != background)
                    points.append({x, y});
        return points;
    }

    const QColor kHighlight{0x30, 0x8c, 0xc6};
    std::unique_ptr<CharMapModel> m_model;
};

void TestCharMapModel::init()
{
    m_model = std::make_unique<CharMapModel>(QSize(412, 220), kHighlight);
    m_model->drawGrid(QFont(QFontDatabase::families().value(0)));
    m_model->press(Qt::NoButton, {0, 0});
    m_model->release();
}

void TestCharMapModel::cleanup()
{
    m_model.reset();
}

void TestCharMapModel::startupSelectsTheSpace()
{
    QCOMPARE(m_model->cellSize(), QSize(12, 31));
    QCOMPARE(m_model->selIndex(), 1);
    QCOMPARE(m_model->selCol(), std::optional<int>(0));
    QCOMPARE(m_model->selRow(), std::optional<int>(0));
    QCOMPARE(m_model->keystroke(), QStringLiteral("Keystroke: Spacebar"));
    QVERIFY(m_model->pointerShown());
    QVERIFY(!m_model->pointerHidden());
    QVERIFY(!m_model->pressed());
    QVERIFY(!m_model->magnifier().visible);
    QVERIFY(isHighlighted({0, 0}));
}

void TestCharMapModel::pressDragReleaseSelectsWhereReleased()
{
    m_model->press(Qt::LeftButton, at({2, 1}));
    QVERIFY(m_model->pressed());
    QVERIFY(!isHighlighted({0, 0}));
    // The full clear puts the old cell's border back.
    QCOMPARE(pixel({0, 15}), QColor(Qt::black).rgb());
    QCOMPARE(pixel({6, 0}), QColor(Qt::black).rgb());

    m_model->move(at({3, 1}));
    m_model->move(at({5, 4}));
    QVERIFY(!isHighlighted({5, 4}));
    m_model->release();

    QVERIFY(isHighlighted({5, 4}));
    QVERIFY(!isHighlighted({2, 1}));
    QCOMPARE(m_model->selCol(), std::optional<int>(5));
    QCOMPARE(m_model->selRow(), std::optional<int>(4));
    // Code 32 + 5 + 128 = 165, the yen sign.
    QCOMPARE(m_model->selIndex(), 134);
    QCOMPARE(m_model->keystroke(), QStringLiteral("Keystroke: Alt+0165"));
    QVERIFY(!m_model->magnifier().visible);
}

void TestCharMapModel::dragBackToTheLastDraggedCell()
{
    m_model->press(Qt::LeftButton, at({1, 0}));
    m_model->move(at({4, 0}));
    m_model->release();
    // A new drag that ends on the cell the previous drag ended on.
    m_model->press(Qt::LeftButton, at({8, 0}));
    m_model->move(at({4, 0}));
    m_model->release();
    QCOMPARE(m_model->selIndex(), 5);
    QVERIFY(isHighlighted({4, 0}));
}

void TestCharMapModel::magnifierShowsTheCellUnderThePointer()
{
    m_model->press(Qt::LeftButton, at({3, 2}));
    QVERIFY(m_model->magnifier().visible);
    QCOMPARE(m_model->magnifier().topLeft, QPoint(3 * 12 + 5, 2 * 31 + 30));
    QCOMPARE(m_model->magnifier().character, QStringLiteral("c"));

    m_model->move(at({4, 2}));
    QCOMPARE(m_model->magnifier().character, QStringLiteral("d"));
    m_model->release();

    // Back over a character the magnifier drew last time: it must still show.
    m_model->press(Qt::LeftButton, at({1, 2}));
    m_model->move(at({4, 2}));
    QVERIFY(m_model->magnifier().visible);
    QCOMPARE(m_model->magnifier().character, QStringLiteral("d"));
    QCOMPARE(m_model->magnifier().topLeft, QPoint(4 * 12 + 5, 2 * 31 + 30));
}

void TestCharMapModel::pointerDuringADrag()
{
    QSignalSpy visibility(m_model.get(), &CharMapModel::pointerVisibilityChanged);
    m_model->press(Qt::LeftButton, at({1, 1}));
    QVERIFY(m_model->pointerHidden());
    QVERIFY(!m_model->pointerShown());

    m_model->move({500, 50});
    QVERIFY(!m_model->pointerHidden());
    QVERIFY(m_model->pointerShown());
    QCOMPARE(m_model->selIndex(), 34);

    m_model->move(at({2, 1}));
    QVERIFY(m_model->pointerHidden());
    m_model->release();
    QVERIFY(!m_model->pointerHidden());
    QVERIFY(m_model->pointerShown());
    const QList<bool> seen{visibility.at(0).at(0).toBool(), visibility.at(1).at(0).toBool(),
                           visibility.at(2).at(0).toBool(), visibility.at(3).at(0).toBool()};
    QCOMPARE(seen, (QList<bool>{false, true, false, true}));
}

void TestCharMapModel::rightPressChangesNothing()
{
    m_model->press(Qt::LeftButton, at({7, 3}));
    m_model->release();
    m_model->press(Qt::RightButton, at({1, 1}));
    QVERIFY(!m_model->pressed());
    QVERIFY(!m_model->pointerHidden());
    QCOMPARE(m_model->selIndex(), 104);
    m_model->release();
    QVERIFY(isHighlighted({7, 3}));
    QVERIFY(!m_model->magnifier().visible);
}

void TestCharMapModel::pressOutsideTheCells_data()
{
    QTest::addColumn<QPoint>("point");
    // Outside the cells the divisions give column or row -1, or numbers of cells
    // that are not there: none of them is the pressed character.
    QTest::newRow("left frame beside row 3") << QPoint(-1, 3 * 31 + 15);
    QTest::newRow("top frame") << QPoint(100, -2);
    QTest::newRow("remainder right of column 31") << QPoint(390, 10);
    QTest::newRow("remainder below row 6") << QPoint(50, 218);
    QTest::newRow("far right, where the number would pass 224") << QPoint(400, 210);
}

void TestCharMapModel::pressOutsideTheCells()
{
    QFETCH(QPoint, point);
    m_model->press(Qt::LeftButton, at({9, 0}));
    m_model->release();

    m_model->press(Qt::LeftButton, point);
    QVERIFY(!m_model->pressed());
    QVERIFY(!m_model->pointerHidden());
    QVERIFY(!m_model->magnifier().visible);
    QCOMPARE(m_model->selIndex(), 10);
    QCOMPARE(m_model->keystroke(), QStringLiteral("Keystroke: )"));
    QVERIFY(isHighlighted({9, 0}));
    m_model->release();
    QVERIFY(isHighlighted({9, 0}));
}

void TestCharMapModel::arrowKeys_data()
{
    QTest::addColumn<Cell>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("selIndex");
    QTest::addColumn<QString>("keystroke");

    QTest::newRow("right off the last cell stays")
        << Cell{31, 6} << int(Qt::Key_Right) << 224 << QStringLiteral("Keystroke: Alt+0255");
    QTest::newRow("right at the row end wraps to the next row")
        << Cell{31, 0} << int(Qt::Key_Right) << 33 << QStringLiteral("Keystroke: @");
    QTest::newRow("down from row 6 stays")
        << Cell{3, 6} << int(Qt::Key_Down) << 196 << QStringLiteral("Keystroke: Alt+0227");
    QTest::newRow("up from row 1")
        << Cell{1, 1} << int(Qt::Key_Up) << 2 << QStringLiteral("Keystroke: !");
}

void TestCharMapModel::arrowKeys()
{
    QFETCH(Cell, start);
    QFETCH(int, key);
    QFETCH(int, selIndex);
    QFETCH(QString, keystroke);

    m_model->press(Qt::LeftButton, at(start));
    m_model->release();
    QVERIFY(m_model->keyPress(key));
    QCOMPARE(m_model->selIndex(), selIndex);
    QCOMPARE(m_model->keystroke(), keystroke);
    const Cell now = CellGeometry::cellOfNumber(selIndex);
    QCOMPARE(m_model->selCol(), std::optional<int>(now.col));
    QCOMPARE(m_model->selRow(), std::optional<int>(now.row));
    // The magnifier marks the selection; the grid only loses its highlight.
    QVERIFY(m_model->magnifier().visible);
    QCOMPARE(m_model->magnifier().topLeft, CellGeometry::magnifierTopLeft(now, {12, 31}));
    QVERIFY(!isHighlighted(start));
    QVERIFY(!isHighlighted(now));

    QVERIFY(!m_model->keyPress(Qt::Key_A));
    QCOMPARE(m_model->selIndex(), selIndex);
}

void TestCharMapModel::fontChangeHighlightsTheSelectionAgain()
{
    m_model->press(Qt::LeftButton, at({6, 5}));
    m_model->release();
    const QStringList families = QFontDatabase::families();
    m_model->changeFont(QFont(families.value(families.size() - 1)));
    QVERIFY(isHighlighted({6, 5}));
    QVERIFY(!isHighlighted({0, 0}));
}

void TestCharMapModel::leavingACellRestoresIt_data()
{
    QTest::addColumn<Cell>("cell");
    QTest::addColumn<bool>("byKey");
    // 'W' is among the widest letters; 0x81 has no character in any font.
    QTest::newRow("letter, left by a press elsewhere") << Cell{23, 1} << false;
    QTest::newRow("letter, left by an arrow key") << Cell{23, 1} << true;
    QTest::newRow("missing character, left by a press") << Cell{1, 3} << false;
}

void TestCharMapModel::leavingACellRestoresIt()
{
    QFETCH(Cell, cell);
    QFETCH(bool, byKey);
    const QImage drawn = inside(cell);
    m_model->press(Qt::LeftButton, at(cell));
    m_model->release();
    QVERIFY(inside(cell) != drawn);
    if (byKey) {
        QVERIFY(m_model->keyPress(Qt::Key_Right));
    } else {
        m_model->press(Qt::LeftButton, at({2, 5}));
        m_model->release();
    }
    QCOMPARE(inside(cell), drawn);
}

void TestCharMapModel::highlightKeepsTheCharacterInPlace()
{
    const Cell w{23, 1};
    const QList<QPoint> plain = ink(w, QColor(Qt::white).rgb());
    QVERIFY(!plain.isEmpty());
    m_model->press(Qt::LeftButton, at(w));
    m_model->release();
    QCOMPARE(ink(w, kHighlight.rgb()), plain);
}

void TestCharMapModel::cellsTheFontLacksAreMarked()
{
    const Cell undefined{1, 3}; // byte 0x81
    QVERIFY(!m_model->hasGlyph(undefined));
    QVERIFY(m_model->hasGlyph({23, 1}));
    QCOMPARE(pixel(at(undefined)), GridCanvas::kMissing);
    m_model->press(Qt::LeftButton, at(undefined));
    QCOMPARE(m_model->magnifier().glyph, 0u);
    QVERIFY(m_model->magnifier().name.startsWith(QStringLiteral("U+0081 <control>\nNot in ")));
}

void TestCharMapModel::magnifierFollowsAFontChange_data()
{
    QTest::addColumn<Cell>("cell");
    QTest::addColumn<bool>("lacking"); // change to a family without the character
    QTest::newRow("a letter, into another family") << Cell{1, 1} << false;
    QTest::newRow("the copyright sign, into a family without it") << Cell{9, 4} << true;
}

// The arrow keys leave the magnifier showing; a font chosen then must not leave the
// old family's glyph in it over a cell the new family draws grey.
void TestCharMapModel::magnifierFollowsAFontChange()
{
    QFETCH(Cell, cell);
    QFETCH(bool, lacking);
    const QChar character = GridCanvas::characterOf(cell).at(0);
    const QStringList families = QFontDatabase::families();
    // Only families that are themselves: an alias ("Monospace") resolves to another.
    auto raw = [](const QString &family) {
        QFont font(family);
        font.setStyleStrategy(QFont::NoFontMerging);
        const QRawFont r = QRawFont::fromFont(font);
        return r.isValid() && r.familyName() == family ? r : QRawFont();
    };
    auto has = [&](const QString &family, bool with) {
        const QRawFont r = raw(family);
        return r.isValid() && r.supportsCharacter(character) == with;
    };
    const auto from = std::find_if(families.begin(), families.end(),
                                   [&](const QString &f) { return has(f, true); });
    const auto to = std::find_if(families.begin(), families.end(), [&](const QString &f) {
        return from != families.end() && f != *from && has(f, !lacking);
    });
    if (from == families.end() || to == families.end())
        QSKIP("no installed family to change to");
    m_model->changeFont(QFont(*from));
    m_model->press(Qt::LeftButton, at(cell));
    m_model->release();
    QVERIFY(m_model->keyPress(Qt::Key_Left));
    QVERIFY(m_model->keyPress(Qt::Key_Right));
    QVERIFY(m_model->magnifier().visible);
    QVERIFY(m_model->magnifier().glyph != 0);

    m_model->changeFont(QFont(*to));
    QVERIFY(m_model->magnifier().visible);
    QCOMPARE(m_model->magnifier().font.familyName(), *to);
    QCOMPARE(m_model->magnifier().glyph != 0, !lacking);
    QCOMPARE(m_model->magnifier().glyph != 0, m_model->hasGlyph(cell));
}

QTEST_MAIN(TestCharMapModel)
#include "tst_charmapmodel.moc"
