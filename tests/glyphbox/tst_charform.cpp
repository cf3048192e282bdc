#include "charform.h"
#include "fileerrortest.h"
#include "fontfamilies.h"
#include "keystore.h"
#include "scriptedprompts.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestCharForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startup();
    void pressDragRelease();
    void doubleClickAddsTheCharacter();
    void addCharReplacesTheSelection();
    void copyButtonFollowsTheText();
    void saveToIcq_data();
    void saveToIcq();
    void exitCloses();

private:
    template <typename T> T *child(const char *name) const
    {
        T *widget = m_form->findChild<T *>(QLatin1String(name));
        Q_ASSERT(widget);
        return widget;
    }
    // The middle of a cell in Ascii1's own coordinates: its client area starts
    // inside a 2-pixel frame.
    static QPoint cellPoint(int col, int row) { return {2 + col * 12 + 6, 2 + row * 31 + 15}; }
    // What a real double click delivers: the second press arrives as the double click.
    void doubleClick(QPoint p) const
    {
        QTest::mousePress(grid(), Qt::LeftButton, {}, p);
        QTest::mouseRelease(grid(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(grid(), Qt::LeftButton, {}, p);
        QTest::mouseRelease(grid(), Qt::LeftButton, {}, p);
    }
    QWidget *grid() const { return child<QWidget>("Ascii1"); }
    QString keystroke() const { return child<QLabel>("Label4")->text(); }
    QLineEdit *name() const { return child<QLineEdit>("Txtcopy"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<CharForm> m_form;
};

static const QString kAccount = QStringLiteral("Software\\Mirabilis\\ICQ\\Owners\\4711");

void TestCharForm::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompts = std::make_unique<ScriptedPrompts>();
    KeyStore store(m_dir->filePath(QStringLiteral("registry.reg")));
    QVERIFY_OK(store.createKey(KeyStore::Root::CurrentUser, kAccount));
    m_form = std::make_unique<CharForm>(*m_prompts, store);
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void TestCharForm::cleanup()
{
    m_form.reset();
    QVERIFY(!QApplication::overrideCursor());
}

void TestCharForm::startup()
{
    QCOMPARE(m_form->objectName(), QStringLiteral("CharForm"));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Glyphbox (Beta)"));
    QCOMPARE(m_form->size(), QSize(527, 353));
    QCOMPARE(grid()->geometry(), QRect(9, 48, 416, 224));
    QCOMPARE(grid()->contentsRect(), QRect(2, 2, 412, 220));
    QCOMPARE(keystroke(), QStringLiteral("Keystroke: Spacebar"));
    QCOMPARE(m_form->model().selIndex(), 1);
    QVERIFY(grid()->hasFocus());
    QVERIFY(!child<QPushButton>("cmdCopy")->isEnabled());
    QVERIFY(!child<QWidget>("Ascii2")->isVisible());
    QVERIFY(!child<QWidget>("Picture3")->isVisible());
    QVERIFY(!QApplication::overrideCursor());
    // Each family once by its plain name, starting at the system's own.
    const QComboBox *fonts = child<QComboBox>("CboFonts");
    QVERIFY(fonts->count() > 0);
    QCOMPARE(fonts->currentText(), FontFamilies::systemFamily());
    QCOMPARE(fonts->findText(QStringLiteral(" ["), Qt::MatchContains), -1);
}

void TestCharForm::pressDragRelease()
{
    QWidget *magnifier = child<QWidget>("Ascii2");
    QWidget *shadow = child<QWidget>("Picture3");

    QTest::mousePress(grid(), Qt::LeftButton, {}, cellPoint(1, 1));
    QVERIFY(magnifier->isVisible());
    QVERIFY(shadow->isVisible());
    QCOMPARE(magnifier->pos(), QPoint(1 * 12 + 5, 1 * 31 + 30));
    QCOMPARE(shadow->pos(), magnifier->pos() + QPoint(5, 5));
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BlankCursor);
    QCOMPARE(keystroke(), QStringLiteral("Keystroke: A"));
    QCOMPARE(magnifier->toolTip(), QStringLiteral("U+0041 LATIN CAPITAL LETTER A"));

    QTest::mouseMove(grid(), cellPoint(2, 1));
    QTest::mouseMove(grid(), cellPoint(3, 1));
    QCOMPARE(magnifier->pos(), QPoint(3 * 12 + 5, 1 * 31 + 30));
    QCOMPARE(keystroke(), QStringLiteral("Keystroke: C"));

    QTest::mouseRelease(grid(), Qt::LeftButton, {}, cellPoint(3, 1));
    QVERIFY(!magnifier->isVisible());
    QVERIFY(!shadow->isVisible());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(m_form->model().selCol(), std::optional<int>(3));
    QCOMPARE(m_form->model().selRow(), std::optional<int>(1));
    // On screen, not only in a tooltip.
    QCOMPARE(child<QLabel>("CharName")->text(), QStringLiteral("U+0043 LATIN CAPITAL LETTER C"));

    QTest::keyClick(grid(), Qt::Key_Right);
    QCOMPARE(keystroke(), QStringLiteral("Keystroke: D"));
    QCOMPARE(child<QLabel>("Label4")->toolTip(), QStringLiteral("U+0044 LATIN CAPITAL LETTER D"));
    QCOMPARE(child<QLabel>("CharName")->text(), QStringLiteral("U+0044 LATIN CAPITAL LETTER D"));
    QVERIFY(magnifier->isVisible());
}

void TestCharForm::doubleClickAddsTheCharacter()
{
    doubleClick(cellPoint(0, 0));
    QCOMPARE(name()->text(), QStringLiteral(" "));
    QVERIFY(child<QPushButton>("cmdCopy")->isEnabled());

    doubleClick(cellPoint(31, 6));
    QCOMPARE(name()->text(), QStringLiteral(" \u00ff"));
    QVERIFY(!QApplication::overrideCursor());

    // From the keyboard: Left to the cell before, Enter adds it as a double click does.
    QTest::keyClick(grid(), Qt::Key_Left);
    QTest::keyClick(grid(), Qt::Key_Return);
    QTest::keyClick(grid(), Qt::Key_Enter);
    QCOMPARE(name()->text(), QStringLiteral(" \u00ff\u00fe\u00fe"));
}

void TestCharForm::addCharReplacesTheSelection()
{
    name()->setFocus();
    name()->setText(QStringLiteral("abcd"));
    name()->setSelection(1, 2);
    QTest::mouseClick(grid(), Qt::LeftButton, {}, cellPoint(2, 3)); // code 130
    QTest::mouseClick(child<QPushButton>("cmdSelect"), Qt::LeftButton);
    QCOMPARE(name()->text(), QStringLiteral("a\u201ad"));

    QTest::mouseClick(child<QPushButton>("cmdSelect"), Qt::LeftButton);
    QCOMPARE(name()->text(), QStringLiteral("a\u201a\u201ad"));
}

void TestCharForm::copyButtonFollowsTheText()
{
    QPushButton *copy = child<QPushButton>("cmdCopy");
    QTest::keyClicks(name(), QStringLiteral("xy"));
    QVERIFY(copy->isEnabled());
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("xy"));

    name()->setFocus();
    QTest::keyClick(name(), Qt::Key_Backspace);
    QVERIFY(copy->isEnabled());
    QTest::keyClick(name(), Qt::Key_Backspace);
    QVERIFY(!copy->isEnabled());
}

void TestCharForm::saveToIcq_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("messages");

    QTest::newRow("existing key") << std::optional<QString>(QStringLiteral("4711"))
                                  << QByteArray("Ab\xe9") << 0;
    QTest::newRow("missing key") << std::optional<QString>(QStringLiteral("4712")) << QByteArray()
                                 << 1;
    QTest::newRow("cancel") << std::optional<QString>() << QByteArray() << 0;
}

void TestCharForm::saveToIcq()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(QByteArray, stored);
    QFETCH(int, messages);

    name()->setText(QStringLiteral("Ab\u00e9"));
    m_prompts->inputAnswers.push_back(answer);
    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);

    const KeyStore store(m_dir->filePath(QStringLiteral("registry.reg")));
    const auto value =
        store.readValue(KeyStore::Root::CurrentUser, kAccount, QStringLiteral("Custom CFG"));
    QCOMPARE(value.has_value(), !stored.isNull());
    if (value)
        QCOMPARE(value->bytes, stored);
    QVERIFY(!store.keyExists(KeyStore::Root::CurrentUser,
                             QStringLiteral("Software\\Mirabilis\\ICQ\\Owners\\4712")));
    QCOMPARE(m_prompts->messages().size(), messages);
}

void TestCharForm::exitCloses()
{
    QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);
    QVERIFY(!m_form->isVisible());
}

QTEST_MAIN(TestCharForm)
#include "tst_charform.moc"
