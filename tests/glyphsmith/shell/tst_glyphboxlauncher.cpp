#include "apppaths.h"
#include "glyphboxlauncher.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestGlyphboxLauncher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startsDetachedWithoutArguments();
    void refusesWhatCannotStart_data();
    void refusesWhatCannotStart();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestGlyphboxLauncher::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    AppPaths::setProgramFolder(m_dir->path());
}

void TestGlyphboxLauncher::cleanup()
{
    AppPaths::setProgramFolder({});
}

void TestGlyphboxLauncher::startsDetachedWithoutArguments()
{
    // The stand-in records its argument count, its folder and the settings base it
    // was given: Glyphbox must share Glyphsmith's key store, so it gets the same
    // environment.
    const QByteArray configHome = m_dir->filePath(QStringLiteral("config")).toLocal8Bit();
    const QByteArray savedConfigHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", configHome);
    QFile program(m_dir->filePath(QStringLiteral("glyphbox")));
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\n"
                  "echo \"$# $(pwd) ${XDG_CONFIG_HOME}\" > ran.tmp && mv ran.tmp ran\n");
    program.close();
    QVERIFY(program.setPermissions(program.permissions() | QFile::ExeOwner));

    const GlyphboxLauncher::Result result = GlyphboxLauncher::launch();
    if (savedConfigHome.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", savedConfigHome);
    QVERIFY2(result.ok, qPrintable(result.message));
    QVERIFY(result.message.isEmpty());

    QFile ran(m_dir->filePath(QStringLiteral("ran")));
    QTRY_VERIFY(ran.exists());
    QVERIFY(ran.open(QIODevice::ReadOnly));
    const QString canonical = QFileInfo(m_dir->path()).canonicalFilePath();
    QCOMPARE(QString::fromUtf8(ran.readAll()).trimmed(), QStringLiteral("0 ") + canonical +
                                                             QLatin1Char(' ') +
                                                             QString::fromLocal8Bit(configHome));
}

void TestGlyphboxLauncher::refusesWhatCannotStart_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "none"
                             << "does not exist";
    QTest::newRow("not executable") << "plain"
                                    << "not marked as executable";
    QTest::newRow("a folder") << "folder"
                              << "folder";
    QTest::newRow("executable but not a program") << "garbage"
                                                  << "";
}

void TestGlyphboxLauncher::refusesWhatCannotStart()
{
    QFETCH(QString, setup);
    QFETCH(QString, reason);

    const QString path = m_dir->filePath(QStringLiteral("glyphbox"));
    if (setup == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (setup != QLatin1String("none")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x7f\x45\x4c\x46 not really a program");
        file.close();
        if (setup == QLatin1String("garbage"))
            QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
    }

    const GlyphboxLauncher::Result result = GlyphboxLauncher::launch();
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(path), qPrintable(result.message));
    QVERIFY2(result.message.contains(reason), qPrintable(result.message));
    // Two line breaks: the headline, the path, the reason, each on its own line.
    QCOMPARE(result.message.count(QLatin1Char('\r')), 2);
    QVERIFY(!result.message.section(QLatin1Char('\r'), 2).isEmpty());
}

QTEST_MAIN(TestGlyphboxLauncher)
#include "tst_glyphboxlauncher.moc"
