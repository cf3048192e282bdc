// Mouse events go through the window system layer, so Qt picks the widget under
// the pointer exactly as it does for a user.
#define QTEST_QPA_MOUSE_HANDLING

#include "appcontroller.h"
#include "apppaths.h"
#include "configuredialog.h"
#include "contrast.h"
#include "cp1252.h"
#include "gamemodes.h"
#include "ingameview.h"
#include "mainwindow.h"
#include "outputbox.h"
#include "qtprompts.h"
#include "scriptedprompts.h"
#include "testfiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QStringList kPictures = {"q3a/q3-white.gif",     "q3a/q3-red.gif",   "q3a/q3-black.gif",
                               "q3a/q3-magenta.gif",   "q3a/q3-green.gif", "q3a/q3-yellow.gif",
                               "q3a/q3-blue.gif",      "q3a/q3-cyan.gif",  "qw/quakeworld.gif",
                               "q2/quake2.gif",        "hex/hexen.gif",    "generic/ascii.gif",
                               "jumpgate/jumpgate.gif"};

// Every pixel of every picture differs from its neighbours and from the same pixel
// of the other pictures, so a glyph copied from the wrong place or file shows.
QImage testPicture(int index)
{
    QImage image(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.setPixel(x, y, qRgb(x, y, (index * 19 + x * 3 + y * 5) & 0xff));
    return image;
}

QPoint cellCentre(int cell)
{
    return QPoint(cell % 16 * 16 + 8, cell / 16 * 16 + 8);
}

// Runs `body` (which opens a modal pop-up menu) and returns the menu that opened,
// with its position, after closing it.
struct OpenedMenu
{
    QString name;
    QPoint pos;
};

template <typename Body> OpenedMenu captureMenu(Body body)
{
    OpenedMenu opened;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            opened = {popup->objectName(), popup->pos()};
            popup->close();
        }
    });
    poll.start(20);
    body();
    return opened;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    template <typename T> T *child(const char *name)
    {
        T *found = m_window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no child %s", name);
        return found;
    }
    QWidget *grid() { return child<QWidget>("CharMapBG"); }
    void clickCell(int cell) { QTest::mouseClick(grid(), Qt::LeftButton, {}, cellCentre(cell)); }
    void hoverCell(int cell) { QTest::mouseMove(grid(), cellCentre(cell)); }
    void trigger(const char *action) { child<QAction>(action)->trigger(); }
    QString text(const char *name) { return child<OutputBox>(name)->text(); }
    QImage glyphOf(int pictureIndex, int cell)
    {
        return testPicture(pictureIndex).copy(cell % 16 * 16, cell / 16 * 16, 16, 16);
    }
    void writeSettings(const char *first)
    {
        QFile ini(m_dir.filePath("glyph.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(QByteArray("[Glyphsmith]\r\nfirst=") + first + "\r\n");
    }

    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    MainWindow *m_window = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (int i = 0; i < kPictures.size(); ++i) {
            const QString path = m_dir.filePath(kPictures[i]);
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            // The content decides the format, as with pictures users pick.
            QVERIFY(testPicture(i).save(path, "BMP"));
        }
        AppPaths::setProgramFolder(m_dir.path());
    }

    void init()
    {
        writeSettings("no");
        m_prompts = ScriptedPrompts();
        m_window = new MainWindow(m_prompts);
        m_window->startUp();
        m_window->show();
        QApplication::setActiveWindow(m_window);
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    void clickingCellsFillsTheOutputs_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<QList<int>>("cells");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("command");
        QTest::newRow("quake three: first letter carries white")
            << QByteArray("Q3A") << QList<int>{65, 66} << QStringLiteral("^7AB")
            << QStringLiteral("name \"^7AB^7\" //GLYPHSMITH v6.1");
        QTest::newRow("quakeworld: three letters")
            << QByteArray("QuakeWorld") << QList<int>{65, 66, 67} << QStringLiteral("ABC")
            << QStringLiteral("name \"ABC\" //GLYPHSMITH v6.1");
        QTest::newRow("rivctf: hexadecimal")
            << QByteArray("RivCTFandVikingServerMOD") << QList<int>{65} << QStringLiteral("41")
            << QStringLiteral("name \"41\"u //GLYPHSMITH v6.1");
        QTest::newRow("icq: no framing, one up")
            << QByteArray("ICQ") << QList<int>{64} << QStringLiteral("A") << QStringLiteral("A");
        QTest::newRow("quakeworld: control code kept as its byte")
            << QByteArray("QuakeWorld") << QList<int>{1, 233} << QStringLiteral("\u0001\u00E9")
            << QStringLiteral("name \"\u0001\u00E9\" //GLYPHSMITH v6.1");
    }

    void clickingCellsFillsTheOutputs()
    {
        QFETCH(QByteArray, mode);
        QFETCH(QList<int>, cells);
        QFETCH(QString, raw);
        QFETCH(QString, command);
        trigger(mode.constData());
        for (int cell : cells)
            clickCell(cell);
        QCOMPARE(text("Text2"), raw);
        QCOMPARE(text("Text3"), command);
    }

    void controlCodesShowTheModesGlyph()
    {
        trigger("QuakeWorld");
        clickCell(18); // a gold digit: byte 18, which text cannot show
        auto *box = child<OutputBox>("Text2");
        const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // Drawn where the text starts, upright in the middle of the line.
        const int top = (box->height() - 16) / 2;
        QCOMPARE(shown.copy(3, top, 16, 16), glyphOf(8, 18));
        QVERIFY(box->toolTip().contains(QStringLiteral("code 18")));
    }

    void stripShowsGlyphsSelectionAndDelete()
    {
        for (int cell : {65, 81, 67})
            clickCell(cell);
        QWidget *strip = child<QWidget>("Picture3");
        auto shown = [strip] {
            return strip->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        QCOMPARE(shown().copy(0, 0, 16, 16), glyphOf(0, 65));
        QCOMPARE(shown().copy(16, 0, 16, 16), glyphOf(0, 81));
        QCOMPARE(shown().pixel(3 * 16 + 8, 20), qRgb(255, 255, 0)); // marker under slot 4

        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(16 + 8, 20));
        QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
        QImage blank(16, 16, QImage::Format_RGB32);
        blank.fill(Qt::black);
        QCOMPARE(shown().copy(16, 0, 16, 16), blank);
        QCOMPARE(shown().pixel(16 + 8, 20), qRgb(255, 255, 0));
        QCOMPARE(text("Text2"), QStringLiteral("^7A C"));
        clickCell(88);
        QCOMPARE(text("Text2"), QStringLiteral("^7AXC"));
    }

    void stripTakesTheKeyboard()
    {
        for (int cell : {65, 66, 67})
            clickCell(cell);
        QWidget *strip = child<QWidget>("Picture3");
        strip->setFocus();
        // Backspace takes the glyph before the marker, and the next click goes there.
        QTest::keyClick(strip, Qt::Key_Backspace);
        QCOMPARE(text("Text2"), QStringLiteral("^7AB"));
        clickCell(67);
        QTest::keyClick(strip, Qt::Key_Left);
        QTest::keyClick(strip, Qt::Key_Left);
        QCOMPARE(m_window->composer().namePos(), 2);
        QTest::keyClick(strip, Qt::Key_Delete);
        clickCell(90);
        QCOMPARE(text("Text2"), QStringLiteral("^7AZC"));
        QTest::keyClick(strip, Qt::Key_End);
        QTest::keyClick(strip, Qt::Key_Right);
        QCOMPARE(m_window->composer().namePos(), 25);
    }

    void gridTakesTheKeyboard_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("raw");
        const QList<int> toA{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Right};
        QTest::newRow("tab in shows the first cell") << QList<int>{} << "Char Number: 1"
                                                     << "";
        QTest::newRow("arrows move, Enter adds")
            << toA + QList<int>{Qt::Key_Return} << "Char Number: 66"
            << "^7A";
        QTest::newRow("Space adds too") << toA + QList<int>{Qt::Key_Space} << "Char Number: 66"
                                        << "^7A";
        QTest::newRow("the edges stop the cursor")
            << QList<int>{Qt::Key_Up, Qt::Key_Left} + toA + QList<int>{Qt::Key_Return}
            << "Char Number: 66"
            << "^7A";
        QTest::newRow("End is the last cell") << QList<int>{Qt::Key_End} << "Char Number: 256"
                                              << "";
    }

    void gridTakesTheKeyboard()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QString, caption);
        QFETCH(QString, raw);
        QWidget *grid = child<QWidget>("CharMapBG");
        child<QWidget>("Picture3")->setFocus();
        grid->setFocus(Qt::TabFocusReason);
        for (int key : keys)
            QTest::keyClick(grid, Qt::Key(key));
        QCOMPARE(child<QLabel>("Label3")->text(), caption);
        QVERIFY(child<QWidget>("Shape1")->isVisible());
        QCOMPARE(text("Text2"), raw);
    }

    // Real dialogs: after one closes, the keys go where they went before it opened.
    void focusReturnsAfterADialog_data()
    {
        QTest::addColumn<QByteArray>("focus");
        QTest::addColumn<int>("dialog"); // 0 message, 1 yes/no, 2 input
        QTest::newRow("grid, message") << QByteArray("CharMapBG") << 0;
        QTest::newRow("grid, question") << QByteArray("CharMapBG") << 1;
        QTest::newRow("strip, input") << QByteArray("Picture3") << 2;
        QTest::newRow("colour list, message") << QByteArray("List1") << 0;
    }

    void focusReturnsAfterADialog()
    {
        QFETCH(QByteArray, focus);
        QFETCH(int, dialog);
        QWidget *widget = child<QWidget>(focus.constData());
        child<QWidget>("Text3")->setFocus();
        widget->setFocus(Qt::TabFocusReason); // the grid's cursor on the first cell
        QVERIFY(widget->hasFocus());
        QTimer closer;
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        closer.start(20);
        QtPrompts prompts(m_window);
        if (dialog == 0)
            prompts.message(QStringLiteral("A message"), QStringLiteral("Glyphsmith"));
        else if (dialog == 1)
            prompts.askYesNo(QStringLiteral("A question?"), QStringLiteral("Glyphsmith"), false);
        else
            prompts.input(QStringLiteral("A prompt"), QStringLiteral("Glyphsmith"), QString());
        closer.stop();
        QTRY_COMPARE(QApplication::focusWidget(), widget);
        if (focus == "CharMapBG") {
            QVERIFY(child<QWidget>("FocusMark")->isVisible());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
            QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("Char Number: 2"));
        }
    }

    void focusMarkOnlyWhileTheGridHasTheFocus()
    {
        hoverCell(20);
        QWidget *mark = child<QWidget>("FocusMark");
        child<QWidget>("Picture3")->setFocus(Qt::TabFocusReason);
        QVERIFY(!mark->isVisible());
        QVERIFY(child<QWidget>("Shape1")->isVisible()); // the hover frame is another thing
        grid()->setFocus(Qt::MouseFocusReason);
        QVERIFY(mark->isVisible());
        QCOMPARE(mark->geometry(), child<QWidget>("Shape1")->geometry());
    }

    void tabVisitsTheControlsInOrder()
    {
        child<QWidget>("CharMapBG")->setFocus(Qt::TabFocusReason);
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(visited,
                 QStringList({"CharMapBG", "Picture3", "Command1", "List1", "Text2", "Text3"}));
    }

    void everyCaptionIsWhole()
    {
        // Each mode's caption in turn, as entering the mode shows it.
        QStringList cut;
        auto check = [&](const QWidget *w, const QString &text, int width, int height) {
            const QFontMetrics metrics(w->font());
            // The side panel's captions mark their Alt letter with '&'.
            const QString shown = w->parentWidget()->objectName() == QLatin1String("Picture7")
                                      ? QString(text).remove(QLatin1Char('&'))
                                      : text;
            const int bottom = w->mapTo(m_window, QPoint(0, w->height())).y();
            if (metrics.horizontalAdvance(shown) > width || metrics.height() > height ||
                bottom > m_window->height())
                cut.append(w->objectName() + QLatin1String(": ") + shown);
        };
        auto checkAll = [&] {
            for (const QLabel *l : m_window->findChildren<QLabel *>()) {
                if (!l->text().isEmpty())
                    check(l, l->text(), l->contentsRect().width(), l->contentsRect().height());
            }
            for (const QGroupBox *f : m_window->findChildren<QGroupBox *>())
                check(f, f->title(), f->width() - 16, f->height());
        };
        hoverCell(255); // the longest number
        for (const ModeInfo &mode : GameModes::modes()) {
            if (mode.picture) {
                trigger(mode.objectName);
                checkAll();
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
    }

    // Steps: a cell to click (0..255), a colour row to pick (-1 - row), a slot
    // to select (-100 - slot), or Delete (-200).
    void nameCheckFollowsTheName_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<bool>("warned");
        QTest::addColumn<QString>("finding");
        QTest::addColumn<QList<QPoint>>("inGame"); // (picture, cell) per drawn glyph
        QTest::newRow("quake 3: Delete leaves the later letters white")
            << QByteArray("Q3A") << QList<int>{65, -2, 66, 67, 68, -102, -200}
            << "Quake III Arena (ioquake3): 6 of 35 bytes - fine" << false << ""
            << QList<QPoint>{{0, 65}, {0, 32}, {0, 67}, {0, 68}};
        QList<int> colourful;
        for (int i = 0; i < 18; ++i)
            colourful << -1 - (i + 1) % 8 << 65 + i;
        QTest::newRow("quake 3: eighteen colours overflow")
            << QByteArray("Q3A") << colourful << "Quake III Arena (ioquake3): the game keeps 35 of"
            << true << "the name is cut here" << QList<QPoint>{};
        QTest::newRow("quakeworld: a quote breaks the script line")
            << QByteArray("QuakeWorld") << QList<int>{65, 10, 66}
            << "QuakeWorld on today's servers: 1 of 15 bytes" << true << "Byte 2: The quote"
            << QList<QPoint>{{8, 65}};
        QTest::newRow("quake 2: the high bit goes")
            << QByteArray("Quake2") << QList<int>{193} << "Quake II: 1 of 15 bytes" << true
            << "loses its high bit" << QList<QPoint>{{9, 65}};
    }

    void nameCheckFollowsTheName()
    {
        QFETCH(QByteArray, mode);
        QFETCH(QList<int>, steps);
        QFETCH(QString, summary);
        QFETCH(bool, warned);
        QFETCH(QString, finding);
        QFETCH(QList<QPoint>, inGame);
        trigger(mode.constData());
        auto *colours = child<QListWidget>("List1");
        for (int step : steps) {
            if (step >= 0)
                clickCell(step);
            else if (step >= -8)
                colours->setCurrentRow(-1 - step);
            else if (step > -200)
                m_window->composer().selectSlot(-100 - step);
            else
                QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
        }
        auto *line = child<QLabel>("NameCheck");
        QVERIFY2(line->text().startsWith(summary), qPrintable(line->text()));
        const QColor normal = m_window->palette().color(QPalette::WindowText);
        QCOMPARE(line->palette().color(QPalette::WindowText) != normal, warned);
        // Readable on the window's own background, and again under a dark palette.
        QPalette dark = m_window->palette();
        for (int pass = 0; pass < 2; ++pass) {
            const QColor shown = line->palette().color(QPalette::WindowText);
            QVERIFY2(Contrast::ratio(shown, m_window->palette().color(QPalette::Window)) >= 4.5,
                     qPrintable(shown.name()));
            dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
            dark.setColor(QPalette::WindowText, Qt::white);
            m_window->setPalette(dark);
        }
        QVERIFY2(line->toolTip().contains(finding), qPrintable(line->toolTip()));
        if (inGame.isEmpty())
            return;
        auto *view = child<InGameView>("InGame");
        QCOMPARE(view->glyphs().size(), inGame.size());
        for (qsizetype i = 0; i < inGame.size(); ++i)
            QCOMPARE(view->glyphs()[i], glyphOf(inGame[i].x(), inGame[i].y()));
    }

    void pasteOnTheStripTakesTheName()
    {
        trigger("QuakeWorld");
        QGuiApplication::clipboard()->setText(QStringLiteral("name \"A\x12\" //GLYPHSMITH v6.1"));
        QWidget *strip = child<QWidget>("Picture3");
        strip->setFocus();
        QTest::keyClick(strip, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(text("Text2"), QStringLiteral("A\x12"));
        QCOMPARE(m_window->composer().namePos(), 3);
    }

    void newFileEntriesTakeFreeAccessKeys()
    {
        QStringList keys;
        for (const QAction *action : child<QMenu>("File")->actions()) {
            const QString caption = action->text();
            const qsizetype amp = caption.indexOf(QLatin1Char('&'));
            if (amp >= 0)
                keys.append(caption.mid(amp + 1, 1).toUpper());
        }
        // Each once: a repeated letter only cycles between its entries.
        QCOMPARE(keys, QStringList({"N", "S", "O", "P", "Q", "C", "B", "G", "E"}));
    }

    void colourListShowsAllEight()
    {
        auto *list = child<QListWidget>("List1");
        const QRect view = list->viewport()->rect();
        for (int row = 0; row < list->count(); ++row) {
            QVERIFY2(view.contains(list->visualItemRect(list->item(row))),
                     qPrintable(list->item(row)->text()));
            QVERIFY(list->item(row)->data(Qt::DecorationRole).value<QColor>().isValid());
        }
        QCOMPARE(list->count(), 8);
    }

    void hoverPreviewsTheCell_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("frame");
        QTest::newRow("first cell") << 0 << QStringLiteral("Char Number: 1") << QPoint(0, 0);
        QTest::newRow("second row, second column")
            << 17 << QStringLiteral("Char Number: 18") << QPoint(16, 16);
        QTest::newRow("last cell") << 255 << QStringLiteral("Char Number: 256") << QPoint(240, 240);
    }

    void hoverPreviewsTheCell()
    {
        QFETCH(int, cell);
        QFETCH(QString, caption);
        QFETCH(QPoint, frame);
        hoverCell(cell);
        QCOMPARE(child<QLabel>("Label3")->text(), caption);
        QWidget *highlight = child<QWidget>("Shape1");
        QVERIFY(highlight->isVisible());
        QCOMPARE(highlight->pos(), frame);

        const QImage regular =
            child<QWidget>("RegViewChar")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage enlarged =
            child<QWidget>("Picture2")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage glyph = glyphOf(0, cell);
        QCOMPARE(regular.copy(0, 0, 16, 16), glyph);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                QCOMPARE(enlarged.pixel(x, y), glyph.pixel(x / 2, y / 2));
        // Hovering changes nothing of the name.
        QCOMPARE(m_window->composer().namePos(), 1);
    }

    void leavingTheGrid_data()
    {
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("window background") << QPoint(139, 100) << true;
        QTest::newRow("side panel background") << QPoint(4, 200) << true;
        QTest::newRow("right panel") << QPoint(420, 10) << false;
        QTest::newRow("grid margin") << QPoint(144 + 260, 100) << false;
        QTest::newRow("name strip") << QPoint(250, 270) << false;
    }

    void leavingTheGrid()
    {
        QFETCH(QPoint, to);
        QFETCH(bool, cleared);
        hoverCell(65);
        QTest::mouseMove(m_window, to);
        QCOMPARE(child<QWidget>("Shape1")->isVisible(), !cleared);
        QCOMPARE(child<QLabel>("Label3")->text(),
                 cleared ? QStringLiteral("Char Number:") : QStringLiteral("Char Number: 66"));
        const QImage regular =
            child<QWidget>("RegViewChar")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(regular.pixel(15, 15) == qRgb(0, 0, 0), cleared);
    }

    void windowBackgroundHidesLabelFrame()
    {
        QTest::mouseMove(m_window, QPoint(60, 24));
        QVERIFY(child<QWidget>("Shape2")->isVisible());
        QTest::mouseMove(m_window, QPoint(139, 24));
        QVERIFY(!child<QWidget>("Shape2")->isVisible());
    }

    void copyLabelsPutTheTrueText_data()
    {
        QTest::addColumn<QByteArray>("label");
        QTest::addColumn<int>("key"); // 0: click the label instead
        QTest::addColumn<QList<int>>("cells");
        QTest::addColumn<QString>("copied");
        const QString command = QStringLiteral("name \"A\" //GLYPHSMITH v6.1");
        QTest::newRow("raw source, control code and accent")
            << QByteArray("Label10") << 0 << QList<int>{1, 233} << QStringLiteral("\x01\u00E9");
        QTest::newRow("command line") << QByteArray("Label11") << 0 << QList<int>{65} << command;
        QTest::newRow("empty name copies empty text")
            << QByteArray("Label10") << 0 << QList<int>{} << QString();
        QTest::newRow("alt r") << QByteArray() << int(Qt::Key_R) << QList<int>{65} << "A";
        QTest::newRow("alt c") << QByteArray() << int(Qt::Key_C) << QList<int>{65} << command;
    }

    void copyLabelsPutTheTrueText()
    {
        QFETCH(QByteArray, label);
        QFETCH(int, key);
        QFETCH(QList<int>, cells);
        QFETCH(QString, copied);
        trigger("QuakeWorld");
        for (int cell : cells)
            clickCell(cell);
        QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
        if (key)
            QTest::keyClick(m_window, Qt::Key(key), Qt::AltModifier);
        else
            QTest::mouseClick(child<QLabel>(label.constData()), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    }

    void menusOpenByClickAndAltKey_data()
    {
        QTest::addColumn<QByteArray>("label");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("menu");
        QTest::newRow("file") << QByteArray("Label4") << int(Qt::Key_F) << "File";
        QTest::newRow("game/mode") << QByteArray("Label8") << int(Qt::Key_G) << "SelectGame";
        QTest::newRow("help") << QByteArray("Label9") << int(Qt::Key_H) << "About";
    }

    void menusOpenByClickAndAltKey()
    {
        QFETCH(QByteArray, label);
        QFETCH(int, key);
        QFETCH(QString, menu);
        QLabel *target = child<QLabel>(label.constData());
        QCOMPARE(captureMenu([&] { QTest::mouseClick(target, Qt::LeftButton); }).name, menu);
        const OpenedMenu byKey =
            captureMenu([&] { QTest::keyClick(m_window, Qt::Key(key), Qt::AltModifier); });
        QCOMPARE(byKey.name, menu);
        // At the label, not wherever the pointer happens to be.
        QCOMPARE(byKey.pos, target->mapToGlobal(QPoint(0, target->height())));
    }

    void modesSetCommandsAndCaption_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("quickSave");
        QTest::addColumn<bool>("saveName");
        QTest::addColumn<bool>("colours");
        QTest::newRow("quakeworld")
            << QByteArray("QuakeWorld") << QStringLiteral("Mode: Quake (1)/QuakeWorld") << true
            << true << false;
        QTest::newRow("quake2") << QByteArray("Quake2")
                                << QStringLiteral("Mode: Quake2 (ASCII Standard)") << false << true
                                << false;
        QTest::newRow("jumpgate") << QByteArray("JumpGate")
                                  << QStringLiteral("Mode: JumpGate - ASCII Basic") << false
                                  << false << false;
        QTest::newRow("quake three again")
            << QByteArray("Q3A") << QStringLiteral("Mode: Quake III: Arena") << true << true
            << true;
    }

    void modesSetCommandsAndCaption()
    {
        QFETCH(QByteArray, mode);
        QFETCH(QString, caption);
        QFETCH(bool, quickSave);
        QFETCH(bool, saveName);
        QFETCH(bool, colours);
        trigger("QuakeWorld");
        trigger(mode.constData());
        QCOMPARE(child<QLabel>("Label7")->text(), caption);
        QCOMPARE(child<QAction>("quicksave")->isEnabled(), quickSave);
        QCOMPARE(child<QAction>("SaveName")->isEnabled(), saveName);
        QCOMPARE(child<QAction>("saveingamespy")->isEnabled(), saveName);
        QCOMPARE(child<QListWidget>("List1")->isEnabled(), colours);
    }

    void colourPickRecoloursGridAndName()
    {
        clickCell(65);
        QListWidget *list = child<QListWidget>("List1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        clickCell(66);
        QCOMPARE(text("Text2"), QStringLiteral("^7A^1B"));
        const QImage shown = child<QWidget>("CharMap")->grab().toImage();
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32).copy(0, 0, 256, 256), testPicture(1));
        // Re-entering the mode starts over in white; the list no longer claims red.
        trigger("Q3A");
        QCOMPARE(list->currentRow(), -1);
        clickCell(65);
        QCOMPARE(text("Text2"), QStringLiteral("^7A"));
    }

    void missingPictureKeepsRunning()
    {
        const QString path = m_dir.filePath("q2/quake2.gif");
        QVERIFY(QFile::rename(path, path + ".away"));
        trigger("Quake2");
        QVERIFY(QFile::rename(path + ".away", path));
        QCOMPARE(m_prompts.messages().size(), 1);
        QVERIFY(m_prompts.messages().constFirst().contains(QLatin1String("quake2.gif")));
        QVERIFY(m_window->isVisible());
        QCOMPARE(child<QLabel>("Label7")->text(), QStringLiteral("Mode: Quake III: Arena"));
    }

    // With nothing on the strip, a save would write `name "^7"` and blank the
    // player's name in the game.
    void emptyNameIsNotSaved_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::newRow("save name") << QByteArray("SaveName");
        QTest::newRow("quicksave") << QByteArray("quicksave");
        QTest::newRow("gamespy profile") << QByteArray("saveingamespy");
    }

    void emptyNameIsNotSaved()
    {
        QFETCH(QByteArray, command);
        const QString script = m_dir.filePath("q3config.cfg");
        QVERIFY(TestFiles::writeBytes(script, "seta name \"Me\"\r\n"));
        QFile ini(m_dir.filePath("glyph.ini"));
        QVERIFY(ini.open(QIODevice::Append));
        ini.write("q3config=" + m_dir.path().toUtf8() + "\r\n");
        ini.close();
        m_prompts.fileAnswers.push_back(script);
        m_prompts.inputAnswers = {QStringLiteral("Clan"), QStringLiteral("me")};
        clickCell(65);
        trigger("NewName");
        trigger(command.constData());
        QCOMPARE(m_prompts.asked.size(), 1);
        QVERIFY2(m_prompts.messages().value(0).startsWith(QLatin1String("The name is empty")),
                 qPrintable(m_prompts.messages().value(0)));
        QCOMPARE(TestFiles::readBytes(script), QByteArray("seta name \"Me\"\r\n"));
    }

    void exitAsksFirst_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("no keeps everything") << false;
        QTest::newRow("yes ends the program") << true;
    }

    void exitAsksFirst()
    {
        QFETCH(bool, answer);
        clickCell(65);
        QSignalSpy quit(m_window, &MainWindow::quitRequested);
        m_prompts.yesNoAnswers.push_back(answer);
        trigger("Exit");
        QCOMPARE(m_prompts.asked.size(), 1);
        QCOMPARE(m_prompts.asked[0].text, QStringLiteral("Are you sure you want to exit?"));
        QCOMPARE(m_prompts.asked[0].title, QStringLiteral("Exit?"));
        QCOMPARE(quit.size(), answer ? 1 : 0);
        QCOMPARE(text("Text2"), QStringLiteral("^7A"));
    }

    void exitYesEndsTheEventLoop()
    {
        AppController controller(m_prompts);
        controller.start();
        QVERIFY(controller.mainWindow());
        m_prompts.yesNoAnswers.push_back(true);
        QTimer::singleShot(0, controller.mainWindow()->findChild<QAction *>("Exit"),
                           &QAction::trigger);
        QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
        QCOMPARE(QApplication::exec(), 0);
    }

    void firstRunSwapsInConfigure_data()
    {
        QTest::addColumn<bool>("byFrame");
        QTest::newRow("Cancel") << false;
        QTest::newRow("closed by the window frame") << true;
    }

    void firstRunSwapsInConfigure()
    {
        QFETCH(bool, byFrame);
        writeSettings("yes");
        AppController controller(m_prompts);
        controller.start();
        QCOMPARE(m_prompts.messages().size(), 1);
        QVERIFY(
            m_prompts.messages().constFirst().startsWith("THIS MESSAGE WILL ONLY APPEAR ONCE:"));
        QVERIFY(!controller.mainWindow());
        QVERIFY(controller.configureDialog() && controller.configureDialog()->isVisible());

        if (byFrame)
            QVERIFY(controller.configureDialog()->close());
        else
            QTest::mouseClick(controller.configureDialog()->findChild<QPushButton *>("Command3"),
                              Qt::LeftButton);
        QVERIFY(controller.mainWindow() && controller.mainWindow()->isVisible());
        QCOMPARE(m_prompts.messages().size(), 1);
    }

    void configureReopensAFreshWindow()
    {
        AppController controller(m_prompts);
        controller.start();
        QPointer<MainWindow> first = controller.mainWindow();
        first->findChild<QAction *>("QuakeWorld")->trigger();
        first->move(first->pos() + QPoint(37, 23)); // anywhere but the screen's middle
        const QPoint middle = first->geometry().center();
        first->findChild<QAction *>("options")->trigger();
        QVERIFY(controller.configureDialog() && controller.configureDialog()->isVisible());
        // Within the window frame's width: the frame is unknown before it is shown.
        QVERIFY((controller.configureDialog()->geometry().center() - middle).manhattanLength() <=
                8);
        QTRY_VERIFY(!first);

        QTest::mouseClick(controller.configureDialog()->findChild<QPushButton *>("Command3"),
                          Qt::LeftButton);
        MainWindow *fresh = controller.mainWindow();
        QVERIFY(fresh && fresh->isVisible());
        QCOMPARE(fresh->windowTitle(), QStringLiteral("Glyphsmith v6.1 - Kestrelworks"));
        QCOMPARE(fresh->size(), QSize(MainWindow::kWidth, MainWindow::kHeight));
        QCOMPARE(fresh->findChild<QLabel *>("Label7")->text(),
                 QStringLiteral("Mode: Quake III: Arena"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
