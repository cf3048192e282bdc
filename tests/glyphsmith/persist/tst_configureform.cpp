#include "apppaths.h"
#include "configureform.h"
#include "fileerrortest.h"
#include "glyphsettings.h"
#include "installations/fakeinstalls.h"
#include "installfinder.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

using Field = ConfigureForm::Field;

class TestConfigureForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void foundGamesFillAndMatchTheFields_data();
    void foundGamesFillAndMatchTheFields();

private:
    // "~/..." in the fake home, "/..." below its root; anything else as it is.
    QString at(const QString &where) const
    {
        return where.startsWith(u'~') || where.startsWith(u'/') ? m_fake->at(where) : where;
    }

    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<FakeInstalls> m_fake;
};

void TestConfigureForm::init()
{
    m_program = std::make_unique<QTemporaryDir>();
    m_fake = std::make_unique<FakeInstalls>();
    AppPaths::setProgramFolder(m_program->path());
    qputenv("XDG_CONFIG_HOME", m_program->filePath(QStringLiteral("config")).toLocal8Bit());
    QCOMPARE(AppPaths::settingsFile(), m_program->filePath(QStringLiteral("glyph.ini")));
}

void TestConfigureForm::cleanup()
{
    AppPaths::setProgramFolder(QString());
    qunsetenv("XDG_CONFIG_HOME");
}

void TestConfigureForm::foundGamesFillAndMatchTheFields_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QStringList>("made");     // the fake installations' folders
    QTest::addColumn<QStringList>("settings"); // the field's keys as stored: folder, client, target
    QTest::addColumn<QString>("typed");        // typed into the field after the finding, if any
    QTest::addColumn<int>("pick");             // the row of the choice picked, or -1
    QTest::addColumn<QByteArray>("wanted");    // the target the player picks, if any
    // Expected: whether there is a choice; the lines shown ("=key": that installation's
    // describe() line); the field's keys as saved; whether the target is the player's.
    QTest::addColumn<bool>("choice");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("saved");
    QTest::addColumn<bool>("choosable");

    const QStringList oa{"~/.openarena/baseoa"};
    const QStringList oaAndIoq3{"~/.openarena/baseoa", "~/.q3a/baseq3"};
    const QString pickOne = QStringLiteral("Choose one of the games found");
    const QString unknown = QStringLiteral("Not a folder of a known game");

    QTest::newRow("none found: the empty field stays, another family's target refused")
        << Field::Quake3Folder << QStringList() << QStringList{"", "", "quake2"} << QString() << -1
        << QByteArray() << false << QStringList{"No installed game found"}
        << QStringList{"", "", "ioquake3"} << true;
    QTest::newRow("one found fills the empty field, and its game is the target")
        << Field::Quake3Folder << oa << QStringList() << QString() << -1 << QByteArray("ioquake3")
        << false << QStringList{"=openarena"}
        << QStringList{"~/.openarena/baseoa", "openarena", "openarena"} << false;
    QTest::newRow("several found: empty until one is chosen")
        << Field::Quake3Folder << oaAndIoq3 << QStringList() << QString() << -1 << QByteArray()
        << true << QStringList{pickOne, "=ioquake3", "=openarena"}
        << QStringList{"", "", "ioquake3"} << true;
    QTest::newRow("several found: choosing fills the field")
        << Field::Quake3Folder << oaAndIoq3 << QStringList() << QString() << 2 << QByteArray()
        << true << QStringList{"=ioquake3", "=openarena"}
        << QStringList{"~/.openarena/baseoa", "openarena", "openarena"} << false;
    QTest::newRow("a field already set stays, the one found offered")
        << Field::Quake3Folder << oa << QStringList{"/games/baseq3", "", "openarena"} << QString()
        << -1 << QByteArray() << true << QStringList{unknown, "=openarena"}
        << QStringList{"/games/baseq3", "", "openarena"} << true;
    QTest::newRow("a typed data folder is its installation, the home saved")
        << Field::Quake3Folder
        << QStringList{"~/.openarena/baseoa", "/usr/lib/openarena/baseoa", "~/.q3a/baseq3"}
        << QStringList() << QStringLiteral("/usr/lib/openarena/baseoa/") << -1 << QByteArray()
        << true << QStringList{"=ioquake3", "=openarena"}
        << QStringList{"~/.openarena/baseoa", "openarena", "openarena"} << false;
    QTest::newRow("an unknown typed folder is kept verbatim")
        << Field::Quake3Folder << oa << QStringList() << QStringLiteral(" C:\\Quake3\\baseq3 ")
        << -1 << QByteArray("openarena") << true << QStringList{unknown, "=openarena"}
        << QStringList{" C:\\Quake3\\baseq3 ", "", "openarena"} << true;
    QTest::newRow("old settings, a data folder only: matched, its home saved")
        << Field::Quake3Folder << QStringList{"/usr/lib/openarena/baseoa"}
        << QStringList{"/usr/lib/openarena/baseoa"} << QString() << -1 << QByteArray() << false
        << QStringList{"=openarena"} << QStringList{"~/.openarena/baseoa", "openarena", "openarena"}
        << false;
    QTest::newRow("QuakeWorld: one found fills, the target stays the player's")
        << Field::QuakeFolder << QStringList{"~/.ezquake", "~/.openarena/baseoa"} << QStringList()
        << QString() << -1 << QByteArray("netquake") << false << QStringList{"=ezquake"}
        << QStringList{"~/.ezquake", "ezquake", "netquake"} << true;
    QTest::newRow("QuakeWorld: none of its games found, the default target")
        << Field::QuakeFolder << oa << QStringList{"/games/id1"} << QString() << -1 << QByteArray()
        << false << QStringList{unknown} << QStringList{"/games/id1", "", "mvdsv"} << true;
}

void TestConfigureForm::foundGamesFillAndMatchTheFields()
{
    QFETCH(Field, field);
    QFETCH(QStringList, made);
    QFETCH(QStringList, settings);
    QFETCH(QString, typed);
    QFETCH(int, pick);
    QFETCH(QByteArray, wanted);
    QFETCH(bool, choice);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, saved);
    QFETCH(bool, choosable);

    const bool quake3 = field == Field::Quake3Folder;
    const QStringList keys = quake3 ? QStringList{"q3config", "q3client", "q3target"}
                                    : QStringList{"q1config", "q1client", "q1target"};
    QVERIFY(m_fake->folders(made));
    QByteArray file = "[Glyphsmith]\r\nfirst=no\r\n";
    for (qsizetype i = 0; i < settings.size(); ++i)
        file += keys[i].toLatin1() + '=' + at(settings[i]).toUtf8() + "\r\n";
    QVERIFY(TestFiles::writeBytes(AppPaths::settingsFile(), file));

    const InstallPlaces places = m_fake->places();
    ConfigureForm form;
    form.load();
    form.setFound(InstallFinder::find(places));
    if (!typed.isNull())
        form.setText(field, at(typed));
    if (pick >= 0)
        form.choose(field, pick);
    if (!wanted.isEmpty())
        form.setTarget(field, wanted);

    QStringList expected;
    for (const QString &line : lines) {
        QString shown = line;
        for (const Installation &i : form.offered(field)) {
            if (line == u'=' + i.key())
                shown = i.describe(places.home);
        }
        expected << shown;
    }
    QCOMPARE(form.hasChoice(field), choice);
    if (choice) {
        QCOMPARE(form.choices(field, places.home), expected);
        QCOMPARE(form.choices(field, places.home).value(form.chosen(field)),
                 form.status(field, places.home));
    } else {
        QCOMPARE(QStringList{form.status(field, places.home)}, expected);
    }
    QCOMPARE(form.targetChoosable(field), choosable);

    QVERIFY_OK(form.save());
    QCOMPARE(GlyphSettings::read(keys[0]), at(saved[0]));
    QCOMPARE(GlyphSettings::read(keys[1]), saved[1]);
    QCOMPARE(GlyphSettings::read(keys[2]), saved[2]);
    // Read back as the save commands read it: the same installation.
    ConfigureForm again;
    again.load();
    again.setFound(InstallFinder::find(places));
    QCOMPARE(again.installation(field).has_value(), !saved[1].isEmpty());
    if (again.installation(field))
        QCOMPARE(again.installation(field)->key(), saved[1]);
}

QTEST_GUILESS_MAIN(TestConfigureForm)
#include "tst_configureform.moc"
