#include "fakeinstalls.h"
#include "installfinder.h"

#include <QTest>

class TestInstallation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void describe_data();
    void describe();
};

void TestInstallation::describe_data()
{
    // "@" stands for the fake root, "~" for the fake home.
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("line");
    QTest::newRow("home and data")
        << QStringList{"~/.openarena/baseoa", "/usr/lib/openarena/baseoa"} << "openarena"
        << QString::fromUtf8("OpenArena — config ~/.openarena/baseoa, data "
                             "@/usr/lib/openarena/baseoa");
    QTest::newRow("config in a folder of its own")
        << QStringList{"~/.config/ezquake/ezquake/configs/config.cfg", "~/.config/ezquake/qw"}
        << "ezquake"
        << QString::fromUtf8("ezQuake — config ~/.config/ezquake/ezquake/configs, data "
                             "~/.config/ezquake/qw");
    QTest::newRow("no data") << QStringList{"~/.yq2/baseq2"} << "yquake2"
                             << QString::fromUtf8(
                                    "Yamagi Quake II — config ~/.yq2/baseq2, no game data found");
    QTest::newRow("no home known")
        << QStringList{"~/.local/share/Steam/steamapps/common/Quake/id1"} << "quake-steam"
        << QString::fromUtf8("Quake (Steam) — data ~/.local/share/Steam/steamapps/common/Quake/"
                             "id1, no config folder known");
}

void TestInstallation::describe()
{
    QFETCH(QStringList, made);
    QFETCH(QString, key);
    QFETCH(QString, line);

    FakeInstalls fake;
    for (const QString &m : made)
        QVERIFY(m.endsWith(".cfg") ? fake.file(m) : fake.folder(m));
    const QList<Installation> found = InstallFinder::find(fake.places());
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().key(), key);
    QCOMPARE(found.first().describe(fake.places().home),
             QString(line).replace(u'@', fake.places().root));
}

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_installation.moc"
