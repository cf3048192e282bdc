#include "apppaths.h"
#include "configuredialog.h"
#include "installations/fakeinstalls.h"
#include "profilefile.h"
#include "scriptedprompts.h"
#include "testfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {} // namespace

using TestFiles::readBytes;
using TestFiles::writeBytes;

class TestConfigureDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void fieldsShowTheSettings();
    void saveWritesBothFieldsAndReopens();
    void cancelWritesNothingAndReopens();
    void leavingByFrameOrKeys_data();
    void leavingByFrameOrKeys();
    void saveFailureKeepsTheDialogOpen();
    void gameFontsChoiceIsKeptAndEnterSaves();
    void everyCaptionIsWhole();
    void foundGamesAreShownAndSaved_data();
    void foundGamesAreShownAndSaved();

private:
    template <typename T> T *child(const char *name)
    {
        T *found = m_dialog->findChild<T *>(QLatin1String(name));
        if (!found)
            qWarning("no %s", name);
        return found;
    }
    void open();
    QString settings() const { return m_program->filePath(QStringLiteral("glyph.ini")); }
    QString value(const char *key) const
    {
        return ProfileFile::readValue(settings(), QStringLiteral("Glyphsmith"), QLatin1String(key));
    }

    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<FakeInstalls> m_fake; // no game installed unless a test makes one
    ScriptedPrompts m_prompts;
    QPointer<ConfigureDialog> m_dialog;
};

void TestConfigureDialog::init()
{
    m_program = std::make_unique<QTemporaryDir>();
    m_config = std::make_unique<QTemporaryDir>();
    m_fake = std::make_unique<FakeInstalls>();
    AppPaths::setProgramFolder(m_program->path());
    qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
    m_prompts = ScriptedPrompts();
    QVERIFY(writeBytes(
        settings(),
        "[Glyphsmith]\r\nfirst=no\r\nq3config=/games/baseq3\r\nq1config=/games/id1\r\n"));
}

void TestConfigureDialog::cleanup()
{
    delete m_dialog;
    AppPaths::setProgramFolder(QString());
    qunsetenv("XDG_CONFIG_HOME");
}

void TestConfigureDialog::open()
{
    m_dialog = new ConfigureDialog(m_prompts, m_fake->places());
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
}

void TestConfigureDialog::fieldsShowTheSettings()
{
    open();
    QCOMPARE(m_dialog->objectName(), QStringLiteral("Form2"));
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Configure"));
    QCOMPARE(child<QLineEdit>("Text1")->text(), QStringLiteral("/games/baseq3"));
    QCOMPARE(child<QLineEdit>("Text2")->text(), QStringLiteral("/games/id1"));
}

void TestConfigureDialog::saveWritesBothFieldsAndReopens()
{
    open();
    QSignalSpy reopen(m_dialog.data(), &ConfigureDialog::reopenMainWindow);
    // The first picker is cancelled, which empties its field.
    m_prompts.folderAnswers = {QString(), QStringLiteral("/picked/id1")};
    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("Command4"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>("Text1")->text(), QString());
    QCOMPARE(value("q3config"), QStringLiteral("/games/baseq3")); // nothing written yet
    QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);

    const QByteArray bytes = readBytes(settings());
    QVERIFY2(bytes.contains("q3config=\r\n"), bytes.constData());
    QCOMPARE(value("q1config"), QStringLiteral("/picked/id1"));
    QCOMPARE(value("first"), QStringLiteral("no"));
    QCOMPARE(reopen.count(), 1);
    QTRY_VERIFY(m_dialog.isNull()); // closed and gone
}

void TestConfigureDialog::cancelWritesNothingAndReopens()
{
    const QByteArray before = readBytes(settings());
    open();
    QSignalSpy reopen(m_dialog.data(), &ConfigureDialog::reopenMainWindow);
    QTest::keyClicks(child<QLineEdit>("Text1"), QStringLiteral("/more"));
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);

    QCOMPARE(reopen.count(), 1);
    QCOMPARE(readBytes(settings()), before);
    QTRY_VERIFY(m_dialog.isNull());
}

void TestConfigureDialog::leavingByFrameOrKeys_data()
{
    QTest::addColumn<QByteArray>("focus"); // the control that has the focus
    QTest::addColumn<int>("key");          // 0: the window frame's close (X, Alt+F4)
    QTest::addColumn<bool>("saved");
    QTest::newRow("window frame: as Cancel") << QByteArray("Text2") << 0 << false;
    QTest::newRow("Escape in a field: as Cancel")
        << QByteArray("Text2") << int(Qt::Key_Escape) << false;
    QTest::newRow("Escape on a button: as Cancel")
        << QByteArray("Command2") << int(Qt::Key_Escape) << false;
    QTest::newRow("Enter in a field: Save...")
        << QByteArray("Text2") << int(Qt::Key_Return) << true;
    QTest::newRow("Enter on the check box: Save...")
        << QByteArray("GameFonts") << int(Qt::Key_Enter) << true;
    QTest::newRow("Enter on Cancel presses Cancel")
        << QByteArray("Command3") << int(Qt::Key_Return) << false;
}

// However the window is left, a fresh main window follows: on the first run there is
// no other, and the settings already say the run is not the first.
void TestConfigureDialog::leavingByFrameOrKeys()
{
    QFETCH(QByteArray, focus);
    QFETCH(int, key);
    QFETCH(bool, saved);
    const QByteArray before = readBytes(settings());
    open();
    QSignalSpy reopen(m_dialog.data(), &ConfigureDialog::reopenMainWindow);
    child<QLineEdit>("Text2")->setText(QStringLiteral("/changed"));
    QWidget *focused = child<QWidget>(focus.constData());
    focused->setFocus();
    if (key)
        QTest::keyClick(focused, Qt::Key(key));
    else
        QVERIFY(m_dialog->close());

    QCOMPARE(reopen.count(), 1);
    if (saved)
        QCOMPARE(value("q1config"), QStringLiteral("/changed"));
    else
        QCOMPARE(readBytes(settings()), before);
    QTRY_VERIFY(m_dialog.isNull());
}

void TestConfigureDialog::saveFailureKeepsTheDialogOpen()
{
    // A folder in place of the settings file: nothing can be written there.
    QVERIFY(QFile::remove(settings()));
    QVERIFY(QDir().mkdir(settings()));
    open();
    QSignalSpy reopen(m_dialog.data(), &ConfigureDialog::reopenMainWindow);
    QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);

    QCOMPARE(reopen.count(), 0);
    QCOMPARE(m_prompts.messages().size(), 1);
    QVERIFY(m_prompts.messages().constFirst().contains(settings()));
    QVERIFY(m_dialog && m_dialog->isVisible());
}

void TestConfigureDialog::gameFontsChoiceIsKeptAndEnterSaves()
{
    open();
    auto *choice = child<QCheckBox>("GameFonts");
    QVERIFY(!choice->isChecked()); // a fresh installation keeps the shipped pictures
    choice->setChecked(true);
    QPushButton *save = child<QPushButton>("Command2");
    save->setFocus();
    QTest::keyClick(save, Qt::Key_Return);
    QCOMPARE(value("gamefont"), QStringLiteral("yes"));
    QTRY_VERIFY(m_dialog.isNull());

    open();
    QVERIFY(child<QCheckBox>("GameFonts")->isChecked());
}

void TestConfigureDialog::everyCaptionIsWhole()
{
    open();
    for (const QLabel *l : m_dialog->findChildren<QLabel *>())
        QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width(),
                 qPrintable(l->text()));
    for (const QGroupBox *f : m_dialog->findChildren<QGroupBox *>())
        QVERIFY2(f->fontMetrics().horizontalAdvance(f->title()) <= f->width() - 16,
                 qPrintable(f->title()));
    const QCheckBox *choice = child<QCheckBox>("GameFonts");
    QVERIFY(choice->sizeHint().width() <= choice->width());
    for (const QWidget *w : m_dialog->findChildren<QWidget *>())
        QVERIFY2(m_dialog->rect().contains(
                     w->geometry().translated(w->parentWidget()->mapTo(m_dialog, QPoint(0, 0)))),
                 qPrintable(w->objectName()));
}

void TestConfigureDialog::foundGamesAreShownAndSaved_data()
{
    QTest::addColumn<bool>("folderSet"); // the settings name folders of no known game
    QTest::addColumn<bool>("choice");    // the Quake III games found are a choice
    QTest::addColumn<bool>("pick");      // the player picks the game found
    QTest::addColumn<bool>("matched");   // the field ends as OpenArena's
    QTest::newRow("an empty field gets the one found, shown as a line")
        << false << false << false << true;
    QTest::newRow("a set field stays, the one found offered") << true << true << false << false;
    QTest::newRow("picking the one found fills the field") << true << true << true << true;
}

void TestConfigureDialog::foundGamesAreShownAndSaved()
{
    QFETCH(bool, folderSet);
    QFETCH(bool, choice);
    QFETCH(bool, pick);
    QFETCH(bool, matched);
    QVERIFY(m_fake->folders({"~/.openarena/baseoa", "~/.ezquake"}));
    if (!folderSet)
        QVERIFY(writeBytes(settings(), "[Glyphsmith]\r\nfirst=no\r\n"));
    const QString looking = QStringLiteral("Looking for installed games\u2026");

    // Not looked for before the window shows.
    m_dialog = new ConfigureDialog(m_prompts, m_fake->places());
    QCOMPARE(child<QLineEdit>("q3Found")->text(), looking);
    m_dialog->show();
    QTRY_VERIFY(!m_dialog->findChild<QLineEdit *>("q3Found") ||
                m_dialog->findChild<QLineEdit *>("q3Found")->text() != looking);

    auto *combo = m_dialog->findChild<QComboBox *>("q3Found");
    QCOMPARE(combo != nullptr, choice);
    if (pick) {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
    }
    const QString home = m_fake->at(QStringLiteral("~/.openarena/baseoa"));
    const QString openArena = QStringLiteral("OpenArena \u2014 config ~/.openarena/baseoa");
    auto *line = m_dialog->findChild<QLineEdit *>("q3Found");
    QVERIFY(line || (combo = m_dialog->findChild<QComboBox *>("q3Found")));
    const QString shown = line ? line->text() : combo->currentText();
    QCOMPARE(line && line->isReadOnly(), !choice || pick);
    QCOMPARE(shown.startsWith(openArena), matched);
    QCOMPARE(child<QLineEdit>("Text1")->text(), matched ? home : QStringLiteral("/games/baseq3"));
    const QComboBox *target = child<QComboBox>("q3Target");
    QCOMPARE(target->currentText(),
             matched ? QStringLiteral("OpenArena") : QStringLiteral("Quake III Arena (ioquake3)"));
    QCOMPARE(target->isEnabled(), !matched);
    QCOMPARE(child<QComboBox>("q1Target")->currentText(),
             QStringLiteral("QuakeWorld on today's servers"));

    QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);
    QCOMPARE(value("q3config"), matched ? home : QStringLiteral("/games/baseq3"));
    QCOMPARE(value("q3client"), matched ? QStringLiteral("openarena") : QString());
    QCOMPARE(value("q3target"), matched ? QStringLiteral("openarena") : QStringLiteral("ioquake3"));
}

QTEST_MAIN(TestConfigureDialog)
#include "tst_configuredialog.moc"
