#include "apppaths.h"
#include "configureform.h"
#include "fileerrortest.h"
#include "glyphsettings.h"
#include "profilefile.h"
#include "scriptedprompts.h"
#include "startup.h"
#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QString kWelcome = QStringLiteral(
    "THIS MESSAGE WILL ONLY APPEAR ONCE:\rThanks for choosing Glyphsmith.\rSince this is your "
    "first time running Glyphsmith, you will be prompted to configure GLYPH with QuakeWorld "
    "and/or Quake3: Arena. If you are using Glyphsmith for a game/program other than QuakeWorld "
    "or Quake3: Arena then press cancel and continue to run Glyphsmith. If you need help click "
    "the Help menu from the main screen and view our help and tutorials page. If you need help "
    "after that feel free to send me an email.");

} // namespace

using TestFiles::readBytes;
using TestFiles::writeBytes;

class TestFirstRunSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void welcomeOnlyOnExactYes_data();
    void welcomeOnlyOnExactYes();
    void welcomeAppearsOnce();
    void shippedSettingsStartTheFirstRun();

    void formLoadsBothFolders();
    void formSavesVerbatimIncludingEmpty_data();
    void formSavesVerbatimIncludingEmpty();
    void browseReplacesOrClears_data();
    void browseReplacesOrClears();

private:
    QString settings() const { return m_program->filePath(QStringLiteral("glyph.ini")); }

    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_config;
};

void TestFirstRunSettings::init()
{
    m_program = std::make_unique<QTemporaryDir>();
    m_config = std::make_unique<QTemporaryDir>();
    AppPaths::setProgramFolder(m_program->path());
    qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
    QCOMPARE(AppPaths::settingsFile(), settings());
}

void TestFirstRunSettings::cleanup()
{
    AppPaths::setProgramFolder(QString());
    qunsetenv("XDG_CONFIG_HOME");
}

void TestFirstRunSettings::welcomeOnlyOnExactYes_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no settings file
    QTest::addColumn<bool>("firstRun");
    QTest::newRow("yes") << QByteArray("[Glyphsmith]\r\nfirst=yes\r\n") << true;
    QTest::newRow("key name in other case") << QByteArray("[glyphsmith]\r\nFIRST=yes\r\n") << true;
    QTest::newRow("Yes in other case") << QByteArray("[Glyphsmith]\r\nfirst=Yes\r\n") << false;
    QTest::newRow("yes with trailing blank")
        << QByteArray("[Glyphsmith]\r\nfirst=yes \r\n") << false;
    QTest::newRow("no") << QByteArray("[Glyphsmith]\r\nfirst=no\r\n") << false;
    QTest::newRow("key missing") << QByteArray("[Glyphsmith]\r\nq3config=x\r\n") << false;
    QTest::newRow("no settings file") << QByteArray() << false;
}

void TestFirstRunSettings::welcomeOnlyOnExactYes()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, firstRun);
    if (!file.isEmpty())
        QVERIFY(writeBytes(settings(), file));
    const QByteArray before = readBytes(settings());

    ScriptedPrompts prompts;
    QCOMPARE(StartUp::firstRunCheck(prompts), firstRun);
    if (firstRun) {
        QCOMPARE(prompts.messages(), QStringList{kWelcome});
        QCOMPARE(prompts.asked.constFirst().title, QStringLiteral("Glyphsmith"));
        QCOMPARE(GlyphSettings::read(QStringLiteral("first")), QStringLiteral("no"));
    } else {
        QVERIFY(prompts.asked.isEmpty());
        QCOMPARE(readBytes(settings()), before);
    }
}

void TestFirstRunSettings::welcomeAppearsOnce()
{
    QVERIFY(writeBytes(settings(), "[Glyphsmith]\r\nfirst=yes\r\nq3config=C:\\q3\r\n"));
    ScriptedPrompts prompts;
    QVERIFY(StartUp::firstRunCheck(prompts));
    QVERIFY(!StartUp::firstRunCheck(prompts));
    QCOMPARE(prompts.messages().size(), 1);
    // The rest of the file stays as it was.
    QCOMPARE(GlyphSettings::read(QStringLiteral("q3config")), QStringLiteral("C:\\q3"));
}

// The settings file that ships beside the program.
void TestFirstRunSettings::shippedSettingsStartTheFirstRun()
{
    const QString shipped = QFINDTESTDATA("../../../data/glyph.ini");
    QVERIFY(!shipped.isEmpty());
    QCOMPARE(readBytes(shipped), QByteArray("[Glyphsmith]\r\nfirst=yes\r\n"));
    QVERIFY(QFile::copy(shipped, settings()));
    ScriptedPrompts prompts;
    QVERIFY(StartUp::firstRunCheck(prompts));
}

void TestFirstRunSettings::formLoadsBothFolders()
{
    QVERIFY(writeBytes(settings(),
                       "[Glyphsmith]\r\nq1config=/games/id1\r\nq3config=/games/baseq3\r\n"));
    ConfigureForm form;
    form.load();
    QCOMPARE(form.text(ConfigureForm::Field::Quake3Folder), QStringLiteral("/games/baseq3"));
    QCOMPARE(form.text(ConfigureForm::Field::QuakeFolder), QStringLiteral("/games/id1"));

    QVERIFY(QFile::remove(settings()));
    form.load();
    QVERIFY(form.text(ConfigureForm::Field::Quake3Folder).isEmpty());
    QVERIFY(form.text(ConfigureForm::Field::QuakeFolder).isEmpty());
}

void TestFirstRunSettings::formSavesVerbatimIncludingEmpty_data()
{
    QTest::addColumn<QString>("quake3");
    QTest::addColumn<QString>("quake");
    QTest::newRow("both folders") << QStringLiteral("/games/baseq3")
                                  << QStringLiteral("/games/id1");
    QTest::newRow("both empty") << QString() << QString();
    QTest::newRow("blanks kept, not checked")
        << QStringLiteral(" /no/such folder ") << QStringLiteral("not a path");
}

void TestFirstRunSettings::formSavesVerbatimIncludingEmpty()
{
    QFETCH(QString, quake3);
    QFETCH(QString, quake);
    QVERIFY(
        writeBytes(settings(), "[Glyphsmith]\r\nfirst=no\r\nq3config=old3\r\nq1config=old1\r\n"));

    ConfigureForm form;
    form.load();
    form.setText(ConfigureForm::Field::Quake3Folder, quake3);
    form.setText(ConfigureForm::Field::QuakeFolder, quake);
    QVERIFY_OK(form.save());

    const QString file = settings();
    QCOMPARE(ProfileFile::readValue(file, QStringLiteral("Glyphsmith"), QStringLiteral("q3config")),
             quake3);
    QCOMPARE(ProfileFile::readValue(file, QStringLiteral("Glyphsmith"), QStringLiteral("q1config")),
             quake);
    const QByteArray bytes = readBytes(file);
    QVERIFY2(bytes.contains("q3config=" + quake3.toUtf8() + "\r\n"), bytes.constData());
    QVERIFY2(bytes.contains("q1config=" + quake.toUtf8() + "\r\n"), bytes.constData());
    QVERIFY(bytes.contains("first=no\r\n"));
}

void TestFirstRunSettings::browseReplacesOrClears_data()
{
    QTest::addColumn<ConfigureForm::Field>("field");
    QTest::addColumn<QString>("picked");
    QTest::newRow("Quake III folder picked")
        << ConfigureForm::Field::Quake3Folder << QStringLiteral("/picked/baseq3");
    QTest::newRow("Quake III picker cancelled clears")
        << ConfigureForm::Field::Quake3Folder << QString();
    QTest::newRow("Quake folder picked")
        << ConfigureForm::Field::QuakeFolder << QStringLiteral("/picked/id1");
    QTest::newRow("Quake picker cancelled clears")
        << ConfigureForm::Field::QuakeFolder << QString();
}

void TestFirstRunSettings::browseReplacesOrClears()
{
    QFETCH(ConfigureForm::Field, field);
    QFETCH(QString, picked);
    const auto other = field == ConfigureForm::Field::Quake3Folder
                           ? ConfigureForm::Field::QuakeFolder
                           : ConfigureForm::Field::Quake3Folder;

    ConfigureForm form;
    form.setText(field, QStringLiteral("typed"));
    form.setText(other, QStringLiteral("untouched"));
    ScriptedPrompts prompts;
    if (!picked.isEmpty())
        prompts.folderAnswers.push_back(picked);
    form.browse(field, prompts);

    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked.constFirst().kind, ScriptedPrompts::Kind::Folder);
    QCOMPARE(prompts.asked.constFirst().title, QStringLiteral("Please select a folder."));
    QCOMPARE(form.text(field), picked);
    QCOMPARE(form.text(other), QStringLiteral("untouched"));
}

QTEST_GUILESS_MAIN(TestFirstRunSettings)
#include "tst_firstrunsettings.moc"
