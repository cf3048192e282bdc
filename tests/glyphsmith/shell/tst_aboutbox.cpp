#include "aboutbox.h"
#include "fileerrortest.h"
#include "keystore.h"
#include "scriptedprompts.h"
#include "sysinfo.h"

#include <QFile>
#include <QFontInfo>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// What the machine offers the System Info button in one test case.
enum class Location { None, WithProgram, WithoutProgram };

class TestAboutBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void okCloses_data();
    void okCloses();
    void sysInfo_data();
    void sysInfo();
    void showingAgainRaisesTheSameBox();
    void titleIsTwiceTheText_data();
    void titleIsTwiceTheText();
    void readsTheMachineKeyStore_data();
    void readsTheMachineKeyStore();

private:
    QString makeProgram(const QString &relative);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAboutBox::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestAboutBox::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString TestAboutBox::makeProgram(const QString &relative)
{
    const QString path = m_dir->filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#!/bin/sh\nexit 0\n");
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner);
    return path;
}

void TestAboutBox::okCloses_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("OK clicked") << false;
    QTest::newRow("Escape pressed") << true;
}

void TestAboutBox::okCloses()
{
    QFETCH(bool, byEscape);
    QPointer<AboutBox> box = AboutBox::showInstance(std::make_shared<ScriptedPrompts>());
    QVERIFY(QTest::qWaitForWindowExposed(box));
    auto *ok = box->findChild<QPushButton *>(QStringLiteral("cmdOK"));
    QVERIFY(ok);
    QVERIFY(ok->isDefault());

    if (byEscape)
        QTest::keyClick(box, Qt::Key_Escape);
    else
        QTest::mouseClick(ok, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(box.isNull());
}

void TestAboutBox::sysInfo_data()
{
    QTest::addColumn<QString>("pathValue"); // relative to the temp folder; "" absent
    QTest::addColumn<bool>("pathRunnable"); // the PATH value names an existing program
    QTest::addColumn<Location>("location");
    QTest::addColumn<bool>("platformTool");   // a desktop tool on the search path
    QTest::addColumn<QString>("expectStart"); // relative; "" when nothing may start
    QTest::addColumn<bool>("expectMessage");

    QTest::newRow("PATH present starts it")
        << "msinfo/run" << true << Location::None << false << "msinfo/run" << false;
    QTest::newRow("PATH present but unstartable shows the message")
        << "msinfo/missing" << false << Location::None << true << "" << true;
    QTest::newRow("PATH wins over Location")
        << "msinfo/run" << true << Location::WithProgram << true << "msinfo/run" << false;
    QTest::newRow("Location with MSINFO32.EXE starts it")
        << "" << false << Location::WithProgram << true << "shared/MSINFO32.EXE" << false;
    QTest::newRow("Location without MSINFO32.EXE falls through to the desktop tool")
        << "" << false << Location::WithoutProgram << true << "bin/hardinfo" << false;
    QTest::newRow("Location without MSINFO32.EXE and no tool shows the message")
        << "" << false << Location::WithoutProgram << false << "" << true;
    QTest::newRow("nothing recorded starts the desktop tool")
        << "" << false << Location::None << true << "bin/hardinfo" << false;
    QTest::newRow("nothing at all shows the message")
        << "" << false << Location::None << false << "" << true;
}

void TestAboutBox::sysInfo()
{
    QFETCH(QString, pathValue);
    QFETCH(bool, pathRunnable);
    QFETCH(Location, location);
    QFETCH(bool, platformTool);
    QFETCH(QString, expectStart);
    QFETCH(bool, expectMessage);

    QHash<QString, QString> machine;
    if (!pathValue.isEmpty()) {
        machine.insert(QStringLiteral("PATH"), m_dir->filePath(pathValue));
        if (pathRunnable)
            QVERIFY(!makeProgram(pathValue).isEmpty());
    }
    if (location != Location::None) {
        QDir().mkpath(m_dir->filePath(QStringLiteral("shared")));
        machine.insert(QStringLiteral("MSINFO"), m_dir->filePath(QStringLiteral("shared")));
        if (location == Location::WithProgram)
            QVERIFY(!makeProgram(QStringLiteral("shared/MSINFO32.EXE")).isEmpty());
    }
    const QString tool = platformTool ? makeProgram(QStringLiteral("bin/hardinfo")) : QString();

    QStringList started;
    SysInfo sysInfo(
        [&](const QString &key, const QString &name) -> std::optional<QString> {
            const bool known =
                (key == QLatin1String("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO") &&
                 name == QLatin1String("PATH")) ||
                (key == QLatin1String("SOFTWARE\\Microsoft\\Shared Tools Location") &&
                 name == QLatin1String("MSINFO"));
            if (!known || !machine.contains(name))
                return std::nullopt;
            return machine.value(name);
        },
        [&](const QString &name) { return name == QLatin1String("hardinfo") ? tool : QString(); },
        [&](const QString &program) {
            const bool ok = QProcess::startDetached(program, {});
            if (ok)
                started.append(program);
            return ok;
        });

    auto prompts = std::make_shared<ScriptedPrompts>();
    AboutBox *box = AboutBox::showInstance(prompts, sysInfo);
    auto *button = box->findChild<QPushButton *>(QStringLiteral("cmdSysInfo"));
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("&System Info..."));
    QTest::mouseClick(button, Qt::LeftButton);

    const QStringList expectedStarts =
        expectStart.isEmpty() ? QStringList() : QStringList{m_dir->filePath(expectStart)};
    QCOMPARE(started, expectedStarts);
    if (expectMessage) {
        QCOMPARE(prompts->messages(),
                 QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
        QCOMPARE(prompts->asked.first().title, QStringLiteral("Glyphsmith"));
    } else {
        QVERIFY(prompts->asked.isEmpty());
    }
    QVERIFY(box->isVisible());
}

void TestAboutBox::showingAgainRaisesTheSameBox()
{
    AboutBox *first = AboutBox::showInstance(std::make_shared<ScriptedPrompts>());
    QVERIFY(QTest::qWaitForWindowExposed(first));

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!first->isActiveWindow());

    AboutBox *second = AboutBox::showInstance(std::make_shared<ScriptedPrompts>());
    QCOMPARE(second, first);
    QTRY_VERIFY(first->isActiveWindow());
    QCOMPARE(first->windowTitle(), QStringLiteral("About Glyphsmith"));
    QCOMPARE(first->objectName(), QStringLiteral("frmAbout"));

    QPointer<AboutBox> closed = first;
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(closed.isNull());
    QVERIFY(AboutBox::showInstance(std::make_shared<ScriptedPrompts>()) != nullptr);
}

void TestAboutBox::readsTheMachineKeyStore_data()
{
    QTest::addColumn<bool>("asText");
    QTest::addColumn<bool>("expectPath");
    QTest::newRow("PATH stored as text is used") << true << true;
    QTest::newRow("PATH stored as a number is skipped") << false << false;
}

// The default lookup reads the shared key store under HKEY_LOCAL_MACHINE.
void TestAboutBox::readsTheMachineKeyStore()
{
    QFETCH(bool, asText);
    QFETCH(bool, expectPath);

    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_dir->path().toLocal8Bit());
    const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", savedConfig); });

    const QString key = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    KeyStore store = KeyStore::userStore();
    QVERIFY(store.filePath().startsWith(m_dir->path()));
    QVERIFY_OK(store.createKey(KeyStore::Root::LocalMachine, key));
    // A Windows-1252 byte in the path: the value's bytes must be decoded, not taken as UTF-8.
    const QString program = m_dir->filePath(QStringLiteral("caf\u00e9/msinfo"));
    const FileError stored =
        asText ? store.storeString(KeyStore::Root::LocalMachine, key, QStringLiteral("path"),
                                   program.toLatin1())
               : store.storeDword(KeyStore::Root::LocalMachine, key, QStringLiteral("PATH"), 7);
    QVERIFY_OK(stored);

    const SysInfo sysInfo(
        SysInfo::machineValue, [](const QString &) { return QString(); },
        [](const QString &) { return false; });
    QCOMPARE(sysInfo.programPath(), expectPath ? program : QString());
}

void TestAboutBox::titleIsTwiceTheText_data()
{
    QTest::addColumn<QFont>("appFont");
    QFont pixels;
    pixels.setPixelSize(11); // as the program sets it
    QFont points;
    points.setPointSizeF(9);
    QTest::newRow("font in pixels") << pixels;
    QTest::newRow("font in points") << points;
}

void TestAboutBox::titleIsTwiceTheText()
{
    QFETCH(QFont, appFont);
    const QFont before = QApplication::font();
    QApplication::setFont(appFont);
    // A point size asked of a pixel-sized font is -1 doubled, and warned about.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("setPointSize")));
    QPointer<AboutBox> box = AboutBox::showInstance(std::make_shared<ScriptedPrompts>());
    const int text =
        QFontInfo(box->findChild<QLabel *>(QStringLiteral("Label3"))->font()).pixelSize();
    const int title =
        QFontInfo(box->findChild<QLabel *>(QStringLiteral("Label1"))->font()).pixelSize();
    const int notice =
        QFontInfo(box->findChild<QLabel *>(QStringLiteral("lblDisclaimer"))->font()).pixelSize();
    QApplication::setFont(before);
    QVERIFY2(qAbs(title - 2 * text) <= 1,
             qPrintable(QStringLiteral("%1 / %2").arg(title).arg(text)));
    QVERIFY(notice < text);
}

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
