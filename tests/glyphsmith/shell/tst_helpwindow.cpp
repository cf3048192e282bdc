#include "apppaths.h"
#include "contrast.h"
#include "helpwindow.h"

#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

class TestHelpWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void viewerFillsWindow_data();
    void viewerFillsWindow();
    void showsPageFromProgramFolder();
    void missingPageNamesTheFile();
    void shippedPagePicturesExist();
    void shippedPageReadsUnderAnyPalette_data();
    void shippedPageReadsUnderAnyPalette();
    void showingAgainRaisesTheSameWindow();
    void keysClose_data();
    void keysClose();
    void opensCentredOnTheMainWindow();
};

void TestHelpWindow::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    AppPaths::setProgramFolder({});
}

void TestHelpWindow::viewerFillsWindow_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("wider and taller") << QSize(800, 600);
    QTest::newRow("narrower and lower") << QSize(200, 120);
    QTest::newRow("wide and low") << QSize(900, 150);
}

void TestHelpWindow::viewerFillsWindow()
{
    QFETCH(QSize, size);
    HelpWindow *window = HelpWindow::showInstance();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // It opens wide enough for the page: no sideways scrolling.
    QTRY_COMPARE(window->viewer()->horizontalScrollBar()->maximum(), 0);
    QCOMPARE(window->viewer()->objectName(), QStringLiteral("WebBrowser1"));
    QCOMPARE(window->viewer()->geometry(), window->rect());

    window->resize(size);
    QTRY_COMPARE(window->size(), size);
    QTRY_COMPARE(window->viewer()->geometry(), window->rect());
}

void TestHelpWindow::showsPageFromProgramFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile page(dir.filePath(QStringLiteral("glyph-help.html")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><body><p>Click a glyph to add it.</p></body></html>");
    page.close();
    AppPaths::setProgramFolder(dir.path());

    HelpWindow *window = HelpWindow::showInstance();
    QCOMPARE(window->viewer()->source(), QUrl::fromLocalFile(page.fileName()));
    QCOMPARE(window->viewer()->toPlainText().trimmed(), QStringLiteral("Click a glyph to add it."));
}

void TestHelpWindow::missingPageNamesTheFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    AppPaths::setProgramFolder(dir.path());

    HelpWindow *window = HelpWindow::showInstance();
    const QString text = window->viewer()->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("not be found")), qPrintable(text));
    QVERIFY2(text.contains(dir.filePath(QStringLiteral("glyph-help.html"))), qPrintable(text));
    QVERIFY(window->isVisible());
}

// A picture the page names but the data folder lacks shows as a broken image.
void TestHelpWindow::shippedPagePicturesExist()
{
    const QString path = HelpWindow::pagePath();
    QFile page(path);
    QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(path + " (build program_data first)"));
    const QString html = QString::fromUtf8(page.readAll());

    static const QRegularExpression image(QStringLiteral("<img[^>]*\\ssrc=\"([^\"]+)\""),
                                          QRegularExpression::CaseInsensitiveOption);
    int count = 0;
    for (const auto &match : image.globalMatch(html)) {
        const QString picture = QFileInfo(path).dir().filePath(match.captured(1));
        QVERIFY2(QFileInfo(picture).isFile(), qPrintable(picture));
        ++count;
    }
    QVERIFY(count > 0);

    HelpWindow *window = HelpWindow::showInstance();
    QVERIFY(window->viewer()->toPlainText().contains(QStringLiteral("Glyphbox")));
}

void TestHelpWindow::shippedPageReadsUnderAnyPalette_data()
{
    QTest::addColumn<QColor>("base"); // the viewer's background
    QTest::addColumn<QColor>("text"); // and its text
    QTest::newRow("light") << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("dark") << QColor(0x23, 0x26, 0x29) << QColor(0xfc, 0xfc, 0xfc);
}

// Every piece of text on the page, against whatever lies under it: its own
// background, its table cell's, the page's, or the viewer's.
void TestHelpWindow::shippedPageReadsUnderAnyPalette()
{
    QFETCH(QColor, base);
    QFETCH(QColor, text);
    HelpWindow *window = HelpWindow::showInstance();
    QTextDocument *page = window->viewer()->document();
    QVERIFY(page->toPlainText().contains(QStringLiteral("Glyphbox")));
    auto colour = [](const QBrush &brush, const QColor &otherwise) {
        return brush.style() == Qt::NoBrush ? otherwise : brush.color();
    };
    const QColor pageColour = colour(page->rootFrame()->frameFormat().background(), base);
    QStringList unreadable;
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        QColor under = colour(block.blockFormat().background(), pageColour);
        const QTextCursor at(block);
        if (QTextTable *table = at.currentTable())
            under = colour(table->cellAt(at).format().background(),
                           colour(table->format().background(), under));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.text().trimmed().isEmpty())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            const QColor fg = colour(format.foreground(), text);
            const QColor bg = colour(format.background(), under);
            if (Contrast::ratio(fg, bg) < 4.5)
                unreadable.append(QStringLiteral("%1 (%2 on %3)")
                                      .arg(fragment.text().left(30), fg.name(), bg.name()));
        }
    }
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(QLatin1String("; "))));
}

void TestHelpWindow::showingAgainRaisesTheSameWindow()
{
    HelpWindow *first = HelpWindow::showInstance();
    QVERIFY(QTest::qWaitForWindowExposed(first));
    first->showMinimized();

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));

    QCOMPARE(HelpWindow::showInstance(), first);
    QVERIFY(!first->isMinimized());
    QTRY_VERIFY(first->isActiveWindow());
    QCOMPARE(first->windowTitle(), QStringLiteral("Hint/Tips"));
    QCOMPARE(first->objectName(), QStringLiteral("Form3"));
}

void TestHelpWindow::keysClose_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
    QTest::newRow("Ctrl+W") << int(Qt::Key_W) << int(Qt::ControlModifier);
}

void TestHelpWindow::keysClose()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QPointer<HelpWindow> window = HelpWindow::showInstance();
    QVERIFY(QTest::qWaitForWindowActive(window));
    // Where the keyboard is while reading: in the page.
    window->viewer()->setFocus();
    QTest::keyClick(window->viewer(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
}

void TestHelpWindow::opensCentredOnTheMainWindow()
{
    QWidget main;
    main.setGeometry(200, 300, 554, 412);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    HelpWindow *window = HelpWindow::showInstance(&main);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY2(window->screen()->availableGeometry().contains(window->frameGeometry()),
             "opens whole on the screen");
    // Within the window frame's width: the frame is unknown before it is shown.
    QVERIFY((window->geometry().center() - main.geometry().center()).manhattanLength() <= 8);
}

QTEST_MAIN(TestHelpWindow)
#include "tst_helpwindow.moc"
