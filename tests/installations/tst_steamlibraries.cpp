#include "fakeinstalls.h"
#include "steamlibraries.h"

#include <QTest>

class TestSteamLibraries : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parseLibraryFolders_data();
    void parseLibraryFolders();
    void findsEveryRootOnce();
};

void TestSteamLibraries::parseLibraryFolders_data()
{
    QTest::addColumn<QByteArray>("vdf");
    QTest::addColumn<QStringList>("paths");

    QTest::newRow("since 2021: a block per library")
        << QByteArray(
               "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/p/.local/share/"
               "Steam\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"2310\"\t\t\"9\"\n\t\t}\n\t}\n\t\"1\"\n\t{"
               "\n\t\t\"label\"\t\"x\"\n\t\t\"path\"\t\t\"/mnt/games\"\n\t}\n}\n")
        << QStringList{"/home/p/.local/share/Steam", "/mnt/games"};
    QTest::newRow("before 2021: numbered keys hold the paths")
        << QByteArray("\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1600000000\"\n\t"
                      "\"ContentStatsID\"\t\t\"-1\"\n\t\"1\"\t\t\"/mnt/games\"\n\t\"2\"\t\t\"/mnt/"
                      "more\"\n}\n")
        << QStringList{"/mnt/games", "/mnt/more"};
    QTest::newRow("escapes, comments, bare tokens and conditions")
        << QByteArray("// made by hand\nlibraryfolders { 0 { path \"/mnt/a \\\"b\\\\c\" "
                      "[$LINUX] } 1 { \"path\" /mnt/d } }")
        << QStringList{"/mnt/a \"b\\c", "/mnt/d"};
    QTest::newRow("a path elsewhere than a library's is not one")
        << QByteArray(
               "\"libraryfolders\" { \"0\" { \"apps\" { \"path\" \"/no\" } } \"contentstatsid\" "
               "\"/no\" \"dynamic\" { \"path\" \"/no\" } } \"other\" { \"0\" { \"path\" \"/no\" } "
               "}")
        << QStringList{};
    QTest::newRow("cut off inside a quote: what came before stays")
        << QByteArray("\"libraryfolders\" { \"0\" { \"path\" \"/mnt/a\" } \"1\" { \"path\" \"/mn")
        << QStringList{"/mnt/a"};
    QTest::newRow("a closing brace too many ends the reading")
        << QByteArray("\"libraryfolders\" { \"0\" \"/mnt/a\" } } \"libraryfolders\" { \"1\" "
                      "\"/mnt/b\" }")
        << QStringList{"/mnt/a"};
    QTest::newRow("a key without a value at the end")
        << QByteArray("\"libraryfolders\" { \"0\"") << QStringList{};
    QTest::newRow("binary junk") << QByteArray("\x00\xff{{\"\x01\"}\x7f\"libraryfolders\"", 24)
                                 << QStringList{};
    QTest::newRow("blocks nested past any real file")
        << QByteArray("\"libraryfolders\" {") + QByteArray("\"k\" {").repeated(50000) +
               "\"0\" \"/mnt/deep\""
        << QStringList{};
    QTest::newRow("empty path") << QByteArray("libraryfolders { 0 { path \"\" } }")
                                << QStringList{};
}

void TestSteamLibraries::parseLibraryFolders()
{
    QFETCH(QByteArray, vdf);
    QFETCH(QStringList, paths);
    QCOMPARE(SteamLibraries::parseLibraryFolders(vdf), paths);
}

void TestSteamLibraries::findsEveryRootOnce()
{
    // The native root lists itself, a second library, a missing one and a
    // relative one; ~/.steam/steam is a link to it; the Flatpak Steam's root
    // keeps its list in config/ and names the second library again.
    FakeInstalls fake;
    QVERIFY(fake.folders({"~/.local/share/Steam/steamapps", "disk2/lib/steamapps",
                          "~/.var/app/com.valvesoftware.Steam/.local/share/Steam/config",
                          "flat/lib/steamapps"}));
    QVERIFY(fake.link("~/.local/share/Steam", "~/.steam/steam"));
    QVERIFY(fake.file("~/.local/share/Steam/steamapps/libraryfolders.vdf",
                      fake.libraryFolders({"~/.local/share/Steam", "disk2/lib", "gone/lib"},
                                          "\"libraryfolders\" { \"9\" { \"path\" \"lib\" } }")));
    QVERIFY(fake.file("~/.var/app/com.valvesoftware.Steam/.local/share/Steam/config/"
                      "libraryfolders.vdf",
                      fake.libraryFolders({"flat/lib", "disk2/lib/"})));
    QCOMPARE(SteamLibraries::find(fake.places()),
             fake.at({"~/.steam/steam", "disk2/lib",
                      "~/.var/app/com.valvesoftware.Steam/.local/share/Steam", "flat/lib"}));
}

QTEST_GUILESS_MAIN(TestSteamLibraries)
#include "tst_steamlibraries.moc"
