#define QTEST_QPA_MOUSE_HANDLING

#include "sidepanel.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(SidePanel::Item)

class TestSidePanel : public QObject
{
    Q_OBJECT

private:
    QWidget *highlight() { return m_panel->findChild<QWidget *>(QStringLiteral("Shape2")); }

    SidePanel *m_panel = nullptr;

private Q_SLOTS:
    void init()
    {
        m_panel = new SidePanel;
        m_panel->resize(SidePanel::kWidth, 350);
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel));
    }

    void cleanup()
    {
        delete m_panel;
        m_panel = nullptr;
    }

    void labelsStandWhereDrawn_data()
    {
        QTest::addColumn<SidePanel::Item>("item");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("top");
        QTest::addColumn<QChar>("letter");
        QTest::newRow("file") << SidePanel::Item::File << "Label4" << 16 << QChar('F');
        QTest::newRow("game/mode") << SidePanel::Item::GameMode << "Label8" << 40 << QChar('G');
        QTest::newRow("copy raw") << SidePanel::Item::CopyRaw << "Label10" << 64 << QChar('R');
        QTest::newRow("copy command")
            << SidePanel::Item::CopyCommand << "Label11" << 88 << QChar('C');
        QTest::newRow("help") << SidePanel::Item::Help << "Label9" << 112 << QChar('H');
    }

    void labelsStandWhereDrawn()
    {
        QFETCH(SidePanel::Item, item);
        QFETCH(QString, name);
        QFETCH(int, top);
        QFETCH(QChar, letter);
        QLabel *label = m_panel->label(item);
        QCOMPARE(label->objectName(), name);
        QCOMPARE(label->geometry(), QRect(16, top, 105, 17));
        QCOMPARE(SidePanel::mnemonic(item), letter);

        // Yellow text on black, and the hot spot of the panel's own pointer.
        const QImage shown = m_panel->grab(label->geometry()).toImage();
        QVERIFY(shown.pixelColor(0, 0) == QColor(Qt::black));
        bool yellow = false;
        for (int y = 0; y < shown.height() && !yellow; ++y)
            for (int x = 0; x < shown.width() && !yellow; ++x)
                yellow = shown.pixelColor(x, y) == QColor(255, 255, 0);
        QVERIFY(yellow);
        QCOMPARE(label->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(label->cursor().hotSpot(), QPoint(12, 1));
        QCOMPARE(label->cursor().pixmap().size(), QSize(32, 32));
    }

    void decorationIsDrawn()
    {
        const QImage shown = m_panel->grab().toImage();
        int lit = 0;
        for (int y = 140; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                lit += shown.pixelColor(x, y) != QColor(Qt::black);
        QVERIFY2(lit > 500, qPrintable(QString::number(lit)));
    }

    void highlightFollowsThePointer_data()
    {
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<int>("top"); // -1: hidden
        QTest::addColumn<int>("backgroundMoves");
        QTest::newRow("gap below file") << QPoint(60, 36) << -1 << 1;
        QTest::newRow("decoration") << QPoint(66, 200) << -1 << 1;
        QTest::newRow("on to help") << QPoint(100, 120) << 112 << 0;
    }

    void highlightFollowsThePointer()
    {
        QFETCH(QPoint, to);
        QFETCH(int, top);
        QFETCH(int, backgroundMoves);
        QSignalSpy background(m_panel, &SidePanel::backgroundHovered);
        QTest::mouseMove(m_panel, QPoint(60, 24));
        QVERIFY(highlight()->isVisible());
        QCOMPARE(highlight()->geometry(), QRect(16, 16, 105, 17));
        QTest::mouseMove(m_panel, to);
        QCOMPARE(background.size(), backgroundMoves);
        // Hiding is the window's job (it also clears the grid), so act as the window does.
        if (background.size())
            m_panel->hideHighlight();
        QCOMPARE(highlight()->isVisible(), top >= 0);
        if (top >= 0)
            QCOMPARE(highlight()->y(), top);
    }

    void clicks_data()
    {
        QTest::addColumn<SidePanel::Item>("item");
        QTest::newRow("file") << SidePanel::Item::File;
        QTest::newRow("copy command") << SidePanel::Item::CopyCommand;
        QTest::newRow("help") << SidePanel::Item::Help;
    }

    void clicks()
    {
        QFETCH(SidePanel::Item, item);
        QSignalSpy clicked(m_panel, &SidePanel::itemClicked);
        QTest::mouseClick(m_panel->label(item), Qt::LeftButton);
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked[0][0].value<SidePanel::Item>(), item);

        QTest::mouseClick(m_panel->label(item), Qt::RightButton);
        QCOMPARE(clicked.size(), 1);
    }
};

QTEST_MAIN(TestSidePanel)
#include "tst_sidepanel.moc"
