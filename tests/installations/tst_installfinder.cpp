#include "fakeinstalls.h"
#include "installfinder.h"

#include <QTest>

Q_DECLARE_METATYPE(ConfigureField)

namespace {

const QString kSteam = QStringLiteral("~/.local/share/Steam");
const QString kSteamGames = kSteam + QStringLiteral("/steamapps/common/");

// The installation of `key` among those found, or one with an empty key.
Installation withKey(const QList<Installation> &found, const QString &key)
{
    for (const Installation &inst : found) {
        if (inst.key() == key)
            return inst;
    }
    return {};
}

QStringList keys(const QList<Installation> &found)
{
    QStringList out;
    for (const Installation &inst : found)
        out << inst.key();
    return out;
}

} // namespace

class TestInstallFinder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findsEachClient_data();
    void findsEachClient();
    void findsNothing_data();
    void findsNothing();
    void steamGamesInEveryLibrary();
    void recognise_data();
    void recognise();
};

void TestInstallFinder::findsEachClient_data()
{
    // What the player's machine holds (folders; files end in a name with a dot or
    // are a program), whether XDG_CONFIG_HOME / XDG_DATA_HOME point elsewhere
    // (to ~/xdg/config, ~/xdg/data), then what the client must be found as.
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("steamGames");
    QTest::addColumn<bool>("customXdg");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("autoexec");
    QTest::addColumn<QStringList>("fonts");
    QTest::addColumn<ConfigureField>("field");

    const QStringList none;
    const auto q3 = ConfigureField::QuakeIII;
    const auto q1 = ConfigureField::Quake;
    const auto q2 = ConfigureField::None;

    QTest::newRow("ioquake3, Debian 12, home ~/.q3a")
        << QStringList{"~/.q3a/baseq3", "/usr/lib/ioquake3/baseq3"}
        << QStringList{"/usr/lib/ioquake3/ioquake3"} << none << false << "ioquake3"
        << "~/.q3a/baseq3/q3config.cfg"
        << "~/.q3a/baseq3/autoexec.cfg" << QStringList{"~/.q3a/baseq3", "/usr/lib/ioquake3/baseq3"}
        << q3;
    QTest::newRow("ioquake3 2025-10+, home under XDG_CONFIG_HOME, pk3s under XDG_DATA_HOME")
        << QStringList{"~/.config/Quake3/baseq3", "~/.local/share/Quake3/baseq3",
                       "/usr/share/games/quake3/baseq3"}
        << none << none << false << "ioquake3-xdg"
        << "~/.config/Quake3/baseq3/q3config.cfg"
        << "~/.config/Quake3/baseq3/autoexec.cfg"
        << QStringList{"~/.config/Quake3/baseq3", "~/.local/share/Quake3/baseq3",
                       "/usr/share/games/quake3/baseq3"}
        << q3;
    QTest::newRow("ioquake3 2025-10+, XDG variables set")
        << QStringList{"~/xdg/config/Quake3/baseq3", "~/xdg/data/Quake3/baseq3"} << none << none
        << true << "ioquake3-xdg"
        << "~/xdg/config/Quake3/baseq3/q3config.cfg"
        << "~/xdg/config/Quake3/baseq3/autoexec.cfg"
        << QStringList{"~/xdg/config/Quake3/baseq3", "~/xdg/data/Quake3/baseq3"} << q3;
    QTest::newRow("ioquake3 Flatpak")
        << QStringList{"~/.var/app/org.ioquake3.ioquake3/data/q3a/baseq3"} << none << none << false
        << "ioquake3-flatpak"
        << "~/.var/app/org.ioquake3.ioquake3/data/q3a/baseq3/q3config.cfg"
        << "~/.var/app/org.ioquake3.ioquake3/data/q3a/baseq3/autoexec.cfg"
        << QStringList{"~/.var/app/org.ioquake3.ioquake3/data/q3a/baseq3"} << q3;
    QTest::newRow("ioquake3 Flatpak, 2025-10+")
        << QStringList{"~/.var/app/org.ioquake3.ioquake3/config/Quake3/baseq3",
                       "~/.var/app/org.ioquake3.ioquake3/data/Quake3/baseq3"}
        << none << none << false << "ioquake3-flatpak-xdg"
        << "~/.var/app/org.ioquake3.ioquake3/config/Quake3/baseq3/q3config.cfg"
        << "~/.var/app/org.ioquake3.ioquake3/config/Quake3/baseq3/autoexec.cfg"
        << QStringList{"~/.var/app/org.ioquake3.ioquake3/config/Quake3/baseq3",
                       "~/.var/app/org.ioquake3.ioquake3/data/Quake3/baseq3"}
        << q3;
    QTest::newRow("Quake III Arena in Steam keeps its config in its game folder")
        << none << none << QStringList{"Quake 3 Arena/baseq3"} << false << "quake3-steam"
        << kSteamGames + "Quake 3 Arena/baseq3/q3config.cfg"
        << kSteamGames + "Quake 3 Arena/baseq3/autoexec.cfg"
        << QStringList{kSteamGames + "Quake 3 Arena/baseq3"} << q3;
    QTest::newRow("OpenArena, Debian")
        << QStringList{"~/.openarena/baseoa", "/usr/lib/openarena/baseoa"} << none << none << false
        << "openarena"
        << "~/.openarena/baseoa/q3config.cfg"
        << "~/.openarena/baseoa/autoexec.cfg"
        << QStringList{"~/.openarena/baseoa", "/usr/lib/openarena/baseoa"} << q3;
    QTest::newRow("OpenArena, Debian, never started: home known, not searched")
        << QStringList{"/usr/lib/openarena/baseoa"} << none << none << false << "openarena"
        << "~/.openarena/baseoa/q3config.cfg"
        << "~/.openarena/baseoa/autoexec.cfg" << QStringList{"/usr/lib/openarena/baseoa"} << q3;
    QTest::newRow("OpenArena Flatpak, system-wide")
        << QStringList{"~/.var/app/ws.openarena.OpenArena/.openarena/baseoa",
                       "/var/lib/flatpak/app/ws.openarena.OpenArena/current/active/files/share/"
                       "openarena/baseoa"}
        << none << none << false << "openarena-flatpak"
        << "~/.var/app/ws.openarena.OpenArena/.openarena/baseoa/q3config.cfg"
        << "~/.var/app/ws.openarena.OpenArena/.openarena/baseoa/autoexec.cfg"
        << QStringList{"~/.var/app/ws.openarena.OpenArena/.openarena/baseoa",
                       "/var/lib/flatpak/app/ws.openarena.OpenArena/current/active/files/share/"
                       "openarena/baseoa"}
        << q3;
    QTest::newRow("ezQuake, Debian, never saved: the home config it reads first")
        << QStringList{"~/.config/ezquake/qw", "/usr/share/games/quake/id1"}
        << QStringList{"/usr/lib/games/ezquake/ezquake"} << none << false << "ezquake"
        << "~/.ezquake/config.cfg"
        << "~/.ezquake/autoexec.cfg"
        << QStringList{"~/.config/ezquake/qw", "/usr/share/games/quake/id1"} << q1;
    QTest::newRow("ezQuake with a config in its base folder")
        << QStringList{"~/.ezquake", "~/.config/ezquake/ezquake"}
        << QStringList{"~/.config/ezquake/ezquake/configs/config.cfg"} << none << false << "ezquake"
        << "~/.config/ezquake/ezquake/configs/config.cfg"
        << "~/.ezquake/autoexec.cfg" << QStringList{"~/.ezquake", "~/.config/ezquake/ezquake"}
        << q1;
    QTest::newRow("ezQuake with both configs: the home one is read first")
        << QStringList{"~/.ezquake", "~/.config/ezquake/ezquake"}
        << QStringList{"~/.ezquake/config.cfg", "~/.config/ezquake/ezquake/configs/config.cfg"}
        << none << false << "ezquake"
        << "~/.ezquake/config.cfg"
        << "~/.ezquake/autoexec.cfg" << QStringList{"~/.ezquake", "~/.config/ezquake/ezquake"}
        << q1;
    QTest::newRow("ezQuake Flatpak")
        << QStringList{"~/.var/app/io.github.ezQuake/.ezquake/id1"} << none << none << false
        << "ezquake-flatpak"
        << "~/.var/app/io.github.ezQuake/.ezquake/ezquake/configs/config.cfg"
        << "~/.var/app/io.github.ezQuake/.ezquake/autoexec.cfg"
        << QStringList{"~/.var/app/io.github.ezQuake/.ezquake",
                       "~/.var/app/io.github.ezQuake/.ezquake/id1"}
        << q1;
    QTest::newRow("Quakespasm, Debian")
        << QStringList{"~/.quakespasm/id1", "/usr/share/games/quake/id1"}
        << QStringList{"/usr/games/quakespasm"} << none << false << "quakespasm"
        << "~/.quakespasm/id1/config.cfg"
        << "~/.quakespasm/id1/autoexec.cfg"
        << QStringList{"~/.quakespasm/id1", "/usr/share/games/quake/id1"} << q1;
    QTest::newRow("Quakespasm Flatpak")
        << QStringList{"~/.var/app/net.sourceforge.quakespasm.Quakespasm/data/id1"} << none << none
        << false << "quakespasm-flatpak"
        << "~/.var/app/net.sourceforge.quakespasm.Quakespasm/data/id1/config.cfg"
        << "~/.var/app/net.sourceforge.quakespasm.Quakespasm/data/id1/autoexec.cfg"
        << QStringList{"~/.var/app/net.sourceforge.quakespasm.Quakespasm/data/id1"} << q1;
    QTest::newRow("Ironwail, data in its home")
        << QStringList{"~/.ironwail/id1"} << none << none << false << "ironwail"
        << "~/.ironwail/id1/ironwail.cfg"
        << "~/.ironwail/id1/autoexec.cfg" << QStringList{"~/.ironwail/id1"} << q1;
    QTest::newRow("Ironwail on Steam's Quake")
        << QStringList{"~/.ironwail/.original/id1"} << none << QStringList{"Quake/id1"} << false
        << "ironwail-steam"
        << "~/.ironwail/.original/id1/ironwail.cfg"
        << "~/.ironwail/.original/id1/autoexec.cfg"
        << QStringList{"~/.ironwail/.original/id1", kSteamGames + "Quake/id1"} << q1;
    QTest::newRow("Ironwail on Steam's 2021 release")
        << QStringList{"~/.ironwail/.rerelease/id1"} << none << QStringList{"Quake/rerelease/id1"}
        << false << "ironwail-steam-rerelease"
        << "~/.ironwail/.rerelease/id1/ironwail.cfg"
        << "~/.ironwail/.rerelease/id1/autoexec.cfg"
        << QStringList{"~/.ironwail/.rerelease/id1", kSteamGames + "Quake/rerelease/id1"} << q1;
    QTest::newRow("Quake in Steam: data, no home known")
        << none << none << QStringList{"Quake/id1"} << false << "quake-steam" << QString()
        << QString() << QStringList{kSteamGames + "Quake/id1"} << q1;
    QTest::newRow("DarkPlaces") << QStringList{"~/.darkplaces/id1"} << none << none << false
                                << "darkplaces"
                                << "~/.darkplaces/id1/config.cfg"
                                << "~/.darkplaces/id1/autoexec.cfg"
                                << QStringList{"~/.darkplaces/id1"} << q1;
    QTest::newRow("Yamagi Quake II, ~/.yq2 wins over XDG")
        << QStringList{"~/.yq2/baseq2", "~/.local/share/YamagiQ2/baseq2"} << none << none << false
        << "yquake2"
        << "~/.yq2/baseq2/config.cfg"
        << "~/.yq2/baseq2/autoexec.cfg" << QStringList{"~/.yq2/baseq2"} << q2;
    QTest::newRow("Yamagi Quake II, XDG home")
        << QStringList{"~/xdg/data/YamagiQ2/baseq2"} << none << none << true << "yquake2"
        << "~/xdg/data/YamagiQ2/baseq2/config.cfg"
        << "~/xdg/data/YamagiQ2/baseq2/autoexec.cfg" << QStringList{"~/xdg/data/YamagiQ2/baseq2"}
        << q2;
    QTest::newRow("Yamagi Quake II Flatpak")
        << QStringList{"~/.var/app/org.yamagi.YamagiQ2/.yq2/baseq2"} << none << none << false
        << "yquake2-flatpak"
        << "~/.var/app/org.yamagi.YamagiQ2/.yq2/baseq2/config.cfg"
        << "~/.var/app/org.yamagi.YamagiQ2/.yq2/baseq2/autoexec.cfg"
        << QStringList{"~/.var/app/org.yamagi.YamagiQ2/.yq2/baseq2"} << q2;
    QTest::newRow("Q2PRO") << QStringList{"~/.q2pro/baseq2", "/usr/local/share/q2pro/baseq2"}
                           << none << none << false << "q2pro"
                           << "~/.q2pro/baseq2/config.cfg"
                           << "~/.q2pro/baseq2/autoexec.cfg"
                           << QStringList{"~/.q2pro/baseq2", "/usr/local/share/q2pro/baseq2"} << q2;
}

void TestInstallFinder::findsEachClient()
{
    QFETCH(QStringList, made);
    QFETCH(QStringList, files);
    QFETCH(QStringList, steamGames);
    QFETCH(bool, customXdg);
    QFETCH(QString, key);
    QFETCH(QString, config);
    QFETCH(QString, autoexec);
    QFETCH(QStringList, fonts);
    QFETCH(ConfigureField, field);

    FakeInstalls fake;
    QVERIFY(fake.folders(made));
    for (const QString &f : files)
        QVERIFY(fake.file(f));
    if (!steamGames.isEmpty())
        QVERIFY(fake.steamLibrary(kSteam, steamGames));
    InstallPlaces places = fake.places();
    if (customXdg) {
        places.xdgConfigHome = fake.at("~/xdg/config");
        places.xdgDataHome = fake.at("~/xdg/data");
    }

    const QList<Installation> found = InstallFinder::find(places);
    const Installation inst = withKey(found, key);
    QCOMPARE(inst.key(), key);
    QCOMPARE(inst.configFile(), config.isEmpty() ? QString() : fake.at(config));
    QCOMPARE(inst.autoexecFile(), autoexec.isEmpty() ? QString() : fake.at(autoexec));
    QCOMPARE(inst.fontFolders(), fake.at(fonts));
    QCOMPARE(inst.field(), field);
    QCOMPARE(inst.hasHome(), !config.isEmpty());
}

void TestInstallFinder::findsNothing_data()
{
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("steamGames");
    const QStringList none;
    QTest::newRow("empty home") << none << none << none;
    QTest::newRow("unrelated folders")
        << QStringList{"~/.config/foo", "~/.local/share/bar", "/usr/lib/foo"} << none << none;
    // Several clients read it; it shows no client is installed.
    QTest::newRow("Debian's Quake data without a client")
        << QStringList{"/usr/share/games/quake/id1"} << none << none;
    QTest::newRow("ioquake3's data without its program or a home")
        << QStringList{"/usr/lib/ioquake3/baseq3"} << none << none;
    QTest::newRow("Ironwail's folder without its game folder")
        << QStringList{"~/.ironwail/.original"} << none << none;
    QTest::newRow("Steam library of other games")
        << none << none << QStringList{"Half-Life/valve", "Portal/portal"};
    QTest::newRow("clients' folders as files")
        << none << QStringList{"~/.openarena/baseoa", "~/.q2pro/baseq2", "~/.ezquake"} << none;
}

void TestInstallFinder::findsNothing()
{
    QFETCH(QStringList, made);
    QFETCH(QStringList, files);
    QFETCH(QStringList, steamGames);
    FakeInstalls fake;
    QVERIFY(fake.folders(made));
    for (const QString &f : files)
        QVERIFY(fake.file(f));
    if (!steamGames.isEmpty())
        QVERIFY(fake.steamLibrary(kSteam, steamGames));
    QCOMPARE(keys(InstallFinder::find(fake.places())), QStringList());
}

void TestInstallFinder::steamGamesInEveryLibrary()
{
    // Quake III Arena in the second library, Steam's Quake in the first: each is
    // found where it is, and a home that no library's game belongs to still is.
    FakeInstalls fake;
    QVERIFY(fake.steamLibrary(kSteam, {"Quake/id1"}));
    QVERIFY(fake.steamLibrary("disk2/SteamLibrary", {"Quake 3 Arena/baseq3"}));
    QVERIFY(fake.file(kSteam + "/steamapps/libraryfolders.vdf",
                      fake.libraryFolders({kSteam, "disk2/SteamLibrary"})));
    QVERIFY(fake.folder("~/.ironwail/.rerelease/id1"));

    const QList<Installation> found = InstallFinder::find(fake.places());
    QCOMPARE(keys(found), (QStringList{"quake3-steam", "ironwail-steam-rerelease", "quake-steam"}));
    QCOMPARE(withKey(found, "quake3-steam").configFile(),
             fake.at("disk2/SteamLibrary/steamapps/common/Quake 3 Arena/baseq3/q3config.cfg"));
    QCOMPARE(withKey(found, "quake-steam").dataFolders(),
             QStringList{fake.at(kSteamGames + "Quake/id1")});
    QCOMPARE(withKey(found, "ironwail-steam-rerelease").dataFolders(), QStringList());
}

void TestInstallFinder::recognise_data()
{
    // On a machine with Debian's OpenArena, Quakespasm (started once), ezQuake
    // (never started) and Steam's 2021 Quake: what a typed folder belongs to, as
    // "key half", with "no home" where the client has none known.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("matches");
    QTest::newRow("OpenArena's data folder")
        << "/usr/lib/openarena/baseoa" << QStringList{"openarena data"};
    QTest::newRow("OpenArena's data folder by the name its links point to")
        << "/usr/share/games/openarena/baseoa" << QStringList{"openarena data"};
    QTest::newRow("OpenArena's data folder through a link of the player's")
        << "~/games/oa" << QStringList{"openarena data"};
    QTest::newRow("OpenArena's base folder, above the data")
        << "/usr/lib/openarena" << QStringList{"openarena data"};
    QTest::newRow("OpenArena's home, trailing slash")
        << "~/.openarena/baseoa/" << QStringList{"openarena home"};
    QTest::newRow("OpenArena's home, with ..")
        << "~/.openarena/x/../baseoa" << QStringList{"openarena home"};
    QTest::newRow("ezQuake's home, not made yet") << "~/.ezquake" << QStringList{"ezquake home"};
    QTest::newRow("Debian's Quake data: the client with a home first")
        << "/usr/share/games/quake/id1" << QStringList{"quakespasm data", "ezquake data"};
    QTest::newRow("Steam's 2021 Quake: data whose client has no home known")
        << kSteamGames + "Quake/rerelease/id1" << QStringList{"quake-rerelease-steam data no home"};
    QTest::newRow("a folder of no client") << "~/Documents" << QStringList{};
    QTest::newRow("the player's home itself") << "~" << QStringList{};
    QTest::newRow("nothing typed") << "" << QStringList{};
}

void TestInstallFinder::recognise()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, matches);

    FakeInstalls fake;
    QVERIFY(fake.folders({"/usr/lib/openarena/baseoa", "/usr/share/games/openarena/baseoa",
                          "~/.openarena/baseoa", "~/.openarena/x", "/usr/share/games/quake/id1",
                          "~/.quakespasm/id1", "~/Documents"}));
    QVERIFY(fake.file("/usr/games/quakespasm") && fake.file("/usr/lib/games/ezquake/ezquake"));
    QVERIFY(fake.link("/usr/lib/openarena/baseoa", "~/games/oa"));
    QVERIFY(fake.steamLibrary(kSteam, {"Quake/rerelease/id1"}));

    QStringList got;
    const QString folder =
        typed.isEmpty() ? typed : fake.at(typed) + (typed.endsWith(u'/') ? "/" : "");
    for (const FolderMatch &m : InstallFinder::recognise(folder, fake.places())) {
        got << m.installation.key() + (m.half == FolderHalf::Home ? " home" : " data") +
                   (m.installation.hasHome() ? "" : " no home");
    }
    QCOMPARE(got, matches);
}

QTEST_GUILESS_MAIN(TestInstallFinder)
#include "tst_installfinder.moc"
