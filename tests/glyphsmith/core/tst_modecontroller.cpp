#include "apppaths.h"
#include "fontpicture.h"
#include "gamedata/gamedatabuilders.h"
#include "gamefont.h"
#include "gamemodes.h"
#include "modecontroller.h"
#include "namecomposer.h"
#include "scriptedprompts.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A picture whose glyph 0 is painted in `colour`, so tests can tell pictures apart.
void writePicture(const QString &path, QColor colour, QSize size = {256, 256},
                  const char *format = "PNG")
{
    QDir().mkpath(QFileInfo(path).path());
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int y = 0; y < 16 && y < size.height(); ++y)
        for (int x = 0; x < 16 && x < size.width(); ++x)
            image.setPixelColor(x, y, colour);
    QVERIFY(image.save(path, format));
}

} // namespace

class TestModeController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startUpEntersQuake3();
    void modesSetStateAndOutputs_data();
    void modesSetStateAndOutputs();
    void configKeyOutlivesOtherModes();
    void missingPictureKeepsModeAndTellsUser();
    void modDialogCancelChangesNothing();
    void modPictureOfAnySize_data();
    void modPictureOfAnySize();
    void colourPickSwitchesPictureAndCode();
    void colourOutOfRangeKeepsCode();
    void glyphsInTheGamesColours();
    void reenteringQuake3ResetsWhite();
    void gameFontsReplaceShippedPictures_data();
    void gameFontsReplaceShippedPictures();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompts m_prompts;
};

void TestModeController::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    AppPaths::setProgramFolder(m_dir->path());
    m_prompts = ScriptedPrompts();
    const QStringList pictures = {"qw/quakeworld.gif", "q2/quake2.gif", "hex/hexen.gif",
                                  "generic/ascii.gif", "jumpgate/jumpgate.gif"};
    int shade = 10;
    for (const QString &p : pictures)
        writePicture(AppPaths::dataFile(p), QColor(shade += 20, 0, 0));
    for (const ColourInfo &c : GameModes::colours())
        writePicture(AppPaths::dataFile(QString::fromLatin1(c.picture)), QColor(0, shade += 20, 0));
}

void TestModeController::cleanup()
{
    AppPaths::setProgramFolder({});
}

void TestModeController::startUpEntersQuake3()
{
    NameComposer composer;
    ModeController modes(composer, m_prompts);
    QVERIFY(modes.startUp());
    QCOMPARE(modes.label(), QStringLiteral("Mode: Quake III: Arena"));
    QCOMPARE(modes.configKey(), QStringLiteral("q3config"));
    QVERIFY(modes.colourListEnabled());
    QVERIFY(modes.saveNameEnabled());
    QVERIFY(composer.colourCodes());
    QCOMPARE(composer.namePos(), 1);
    const QImage white(AppPaths::dataFile("q3a/q3-white.gif"), "PNG");
    QCOMPARE(modes.fontPicture().image().pixelColor(0, 0), white.pixelColor(0, 0));
    QVERIFY(m_prompts.asked.isEmpty());
}

void TestModeController::modesSetStateAndOutputs_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("quickSave");
    QTest::addColumn<bool>("saveName");
    QTest::addColumn<QByteArray>("cell65");

    QTest::newRow("QuakeWorld") << int(ModeId::QuakeWorld) << "Mode: Quake (1)/QuakeWorld" << true
                                << true << QByteArray("A");
    QTest::newRow("Quake2") << int(ModeId::Quake2) << "Mode: Quake2 (ASCII Standard)" << false
                            << true << QByteArray("A");
    QTest::newRow("RivCTF hex") << int(ModeId::RivCtf)
                                << "Mode: Quake2 (Hexadecimal Standard) RivCTF & Viking Server MOD"
                                << false << true << QByteArray("41");
    QTest::newRow("Hexen II") << int(ModeId::Hexen2) << "Mode: Hexen II" << false << true
                              << QByteArray("A");
    QTest::newRow("ICQ") << int(ModeId::Icq) << "Mode: ICQ (Instant Messenger Software)" << false
                         << true << QByteArray("B");
    QTest::newRow("StarCraft") << int(ModeId::StarCraft) << "Mode: StarCraft" << false << true
                               << QByteArray("B");
    QTest::newRow("Unreal") << int(ModeId::UnrealTournament) << "Mode: Unreal Tournament" << false
                            << true << QByteArray("B");
    QTest::newRow("JumpGate") << int(ModeId::JumpGate) << "Mode: JumpGate - ASCII Basic" << false
                              << false << QByteArray("A");
    QTest::newRow("Quake3") << int(ModeId::Quake3) << "Mode: Quake III: Arena" << true << true
                            << QByteArray("^7A");
}

void TestModeController::modesSetStateAndOutputs()
{
    QFETCH(int, mode);
    QFETCH(QString, label);
    QFETCH(bool, quickSave);
    QFETCH(bool, saveName);
    QFETCH(QByteArray, cell65);

    NameComposer composer;
    ModeController modes(composer, m_prompts);
    modes.startUp();
    composer.clickCell(70, modes.fontPicture().image());
    QVERIFY(modes.enterMode(ModeId(mode)));
    QCOMPARE(modes.label(), label);
    QCOMPARE(modes.quickSaveEnabled(), quickSave);
    QCOMPARE(modes.saveNameEnabled(), saveName);
    QCOMPARE(modes.gameSpyEnabled(), saveName);
    QCOMPARE(modes.colourListEnabled(), ModeId(mode) == ModeId::Quake3);
    // The name is cleared and the new framing shows around it.
    QCOMPARE(composer.rawName(), QByteArray());
    QCOMPARE(composer.commandText(), composer.cmdPrefix() + composer.cmdSuffix());
    composer.clickCell(65, modes.fontPicture().image());
    QCOMPARE(composer.rawName(), cell65);
}

void TestModeController::configKeyOutlivesOtherModes()
{
    NameComposer composer;
    ModeController modes(composer, m_prompts);
    modes.startUp();
    modes.enterMode(ModeId::QuakeWorld);
    modes.enterMode(ModeId::Quake2);
    QCOMPARE(modes.configKey(), QStringLiteral("q1config"));
    QVERIFY(!modes.quickSaveEnabled());
    modes.enterMode(ModeId::StarCraft);
    QCOMPARE(modes.configKey(), QStringLiteral("q1config"));
    modes.enterMode(ModeId::Quake3);
    QCOMPARE(modes.configKey(), QStringLiteral("q3config"));
}

void TestModeController::missingPictureKeepsModeAndTellsUser()
{
    NameComposer composer;
    ModeController modes(composer, m_prompts);
    modes.startUp();
    composer.clickCell(65, modes.fontPicture().image());
    QVERIFY(QFile::remove(AppPaths::dataFile("hex/hexen.gif")));

    QVERIFY(!modes.enterMode(ModeId::Hexen2));
    QCOMPARE(modes.label(), QStringLiteral("Mode: Quake III: Arena"));
    QCOMPARE(composer.rawName(), QByteArray("^7A"));
    QCOMPARE(m_prompts.messages().size(), 1);
    QVERIFY(m_prompts.messages().first().contains(AppPaths::dataFile("hex/hexen.gif")));

    // A start-up without its picture still runs, with an empty grid.
    QVERIFY(QFile::remove(AppPaths::dataFile("q3a/q3-white.gif")));
    NameComposer fresh;
    ModeController empty(fresh, m_prompts);
    QVERIFY(!empty.startUp());
    QCOMPARE(empty.fontPicture().image().pixelColor(0, 0), QColor(Qt::black));
    QVERIFY(fresh.colourCodes());
}

void TestModeController::modDialogCancelChangesNothing()
{
    NameComposer composer;
    ModeController modes(composer, m_prompts);
    modes.startUp();
    composer.clickCell(65, modes.fontPicture().image());
    QVERIFY(!modes.enterMode(ModeId::QuakeWorldMod)); // empty queue: cancelled
    QCOMPARE(m_prompts.asked.size(), 1);
    const Prompts::FileRequest request = m_prompts.asked.first().file;
    QCOMPARE(request.title, QStringLiteral("Open"));
    QCOMPARE(request.filters.size(), 4);
    QVERIFY(request.filters.last().contains(QStringLiteral("*.pk3")));
    QCOMPARE(request.filters.first(), QStringLiteral("Bitmaps (*.Bmp)"));
    QVERIFY(modes.quickSaveEnabled());
    QCOMPARE(modes.label(), QStringLiteral("Mode: Quake III: Arena"));
    QCOMPARE(composer.rawName(), QByteArray("^7A"));
}

void TestModeController::modPictureOfAnySize_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    QTest::newRow("small bmp") << "mod.bmp" << QByteArray("BMP") << QSize(40, 20);
    QTest::newRow("large jpeg") << "mod.jpg" << QByteArray("JPEG") << QSize(400, 300);
}

void TestModeController::modPictureOfAnySize()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    const QString path = m_dir->filePath(file);
    writePicture(path, QColor(250, 250, 250), size, format.constData());

    NameComposer composer;
    ModeController modes(composer, m_prompts);
    modes.startUp();
    m_prompts.fileAnswers.push_back(path);
    QVERIFY(modes.enterMode(ModeId::Hexen2Mod));
    QCOMPARE(modes.label(), QStringLiteral("Mode: Hexen II MOD"));
    const QImage &image = modes.fontPicture().image();
    QCOMPARE(image.size(), QSize(256, 256));
    QVERIFY(qGray(image.pixel(5, 5)) > 200);
    QCOMPARE(image.pixel(255, 255), qRgb(0, 0, 0)); // outside the file: black
    composer.clickCell(65, image);
    QCOMPARE(composer.rawName(), QByteArray("A"));
}

void TestModeController::colourPickSwitchesPictureAndCode()
{
    NameComposer composer;
    ModeController modes(composer, m_prompts);
    modes.startUp();
    composer.clickCell(65, modes.fontPicture().image());
    const QColor white = modes.fontPicture().image().pixelColor(0, 0);
    QVERIFY(modes.pickColour(1));
    QVERIFY(modes.fontPicture().image().pixelColor(0, 0) != white);
    composer.clickCell(66, modes.fontPicture().image());
    composer.clickCell(67, modes.fontPicture().image());
    QCOMPARE(composer.rawName(), QByteArray("^7A^1BC"));
    QVERIFY(modes.pickColour(2));
    composer.clickCell(65, modes.fontPicture().image());
    QCOMPARE(composer.rawName(), QByteArray("^7A^1BC^^0A"));
}

void TestModeController::glyphsInTheGamesColours()
{
    NameComposer composer;
    ModeController modes(composer, m_prompts);
    modes.startUp();
    // Each game colour comes from its own picture, whatever the grid shows now.
    for (const ColourInfo &c : GameModes::colours()) {
        FontPicture expected;
        QVERIFY(expected.load(AppPaths::dataFile(QString::fromLatin1(c.picture))).ok());
        QCOMPARE(modes.glyph(0, c.gameIndex), expected.glyph(0));
    }
    // Outside Quake III there are no colours: the mode's own picture.
    QVERIFY(modes.enterMode(ModeId::QuakeWorld));
    QCOMPARE(modes.glyph(0, 1), modes.fontPicture().glyph(0));
}

void TestModeController::colourOutOfRangeKeepsCode()
{
    NameComposer composer;
    ModeController modes(composer, m_prompts);
    modes.startUp();
    modes.pickColour(3);
    composer.clickCell(65, modes.fontPicture().image());
    QVERIFY(!modes.pickColour(-1));
    QCOMPARE(m_prompts.messages(), QStringList{"ERROR - An unknown error occured."});
    // The code in force goes in front of the next character all the same.
    composer.clickCell(66, modes.fontPicture().image());
    QCOMPARE(composer.rawName(), QByteArray("^6A^6B"));
}

void TestModeController::reenteringQuake3ResetsWhite()
{
    NameComposer composer;
    ModeController modes(composer, m_prompts);
    modes.startUp();
    const QColor white = modes.fontPicture().image().pixelColor(0, 0);
    modes.pickColour(7);
    modes.enterMode(ModeId::Icq);
    modes.enterMode(ModeId::Quake3);
    QCOMPARE(modes.fontPicture().image().pixelColor(0, 0), white);
    composer.clickCell(65, modes.fontPicture().image());
    QCOMPARE(composer.rawName(), QByteArray("^7A"));
}

void TestModeController::gameFontsReplaceShippedPictures_data()
{
    QTest::addColumn<bool>("switchedOn");
    QTest::addColumn<QString>("file");     // below the fake root, put in place:
    QTest::addColumn<QByteArray>("inPlace"); // font, pipe, device, folder, or nothing
    QTest::addColumn<int>("mode");         // entered after start-up; Quake III: start-up only
    QTest::addColumn<bool>("gameFont");
    QTest::addColumn<QString>("note");
    const int q3 = int(ModeId::Quake3), qw = int(ModeId::QuakeWorld),
              mod = int(ModeId::QuakeWorldMod);
    const QString pk3 = QStringLiteral("baseq3/pak0.pk3");
    QTest::newRow("the game's font at start-up") << true << pk3 << QByteArray("font") << q3
                                                 << true << "own font";
    QTest::newRow("no font there: shipped, and why")
        << true << QString() << QByteArray() << q3 << false << "not shown";
    QTest::newRow("switched off") << false << pk3 << QByteArray("font") << q3 << false << "";
    QTest::newRow("a MOD mode takes an archive")
        << false << pk3 << QByteArray("font") << mod << true << "font of";
    // A file that is not one never blocks the mode: it is passed over, and named.
    QTest::newRow("a pipe as pak0.pk3")
        << true << pk3 << QByteArray("pipe") << q3 << false << "pak0.pk3: it is a pipe";
    QTest::newRow("a link to /dev/zero as pak0.pk3")
        << true << pk3 << QByteArray("device") << q3 << false << "pak0.pk3: it is a device";
    QTest::newRow("a folder named pak0.pk3")
        << true << pk3 << QByteArray("folder") << q3 << false << "not shown";
    QTest::newRow("a pipe as the loose font")
        << true << QStringLiteral("baseq3/gfx/2d/bigchars.tga") << QByteArray("pipe") << q3
        << false << "bigchars.tga: it is a pipe";
    QTest::newRow("a pipe as id1/pak0.pak")
        << true << QStringLiteral("id1/pak0.pak") << QByteArray("pipe") << qw << false
        << "pak0.pak: it is a pipe";
    QTest::newRow("a link to /dev/zero as id1/pak0.pak")
        << true << QStringLiteral("id1/pak0.pak") << QByteArray("device") << qw << false
        << "pak0.pak: it is a device";
    QTest::newRow("a folder named id1/pak0.pak")
        << true << QStringLiteral("id1/pak0.pak") << QByteArray("folder") << qw << false
        << "not shown";
}

void TestModeController::gameFontsReplaceShippedPictures()
{
    QFETCH(bool, switchedOn);
    QFETCH(QString, file);
    QFETCH(QByteArray, inPlace);
    QFETCH(int, mode);
    QFETCH(bool, gameFont);
    QFETCH(QString, note);

    // Opening a pipe blocks until a writer comes: end the test rather than hang.
    ::alarm(60);
    const auto disarm = qScopeGuard([] { ::alarm(0); });

    QImage font(256, 256, QImage::Format_ARGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            font.setPixel(x, y, qRgb(x, y, 200));
    const QString path = m_dir->filePath(file);
    QDir().mkpath(m_dir->filePath(QStringLiteral("baseq3")));
    QDir().mkpath(m_dir->filePath(QStringLiteral("id1")));
    if (!file.isEmpty())
        QDir().mkpath(QFileInfo(path).path());
    if (inPlace == "font") {
        QVERIFY(GameDataBuilders::write(
            path, GameDataBuilders::zip(
                      {{"gfx/2d/bigchars.tga",
                        GameDataBuilders::tga(font, GameDataBuilders::TgaRows::BottomUp)}})));
    } else if (inPlace == "pipe") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (inPlace == "device") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else if (inPlace == "folder") {
        QVERIFY(QDir().mkpath(path));
    }

    NameComposer composer;
    ModeController modes(composer, m_prompts);
    ModeController::GameFolders folders;
    folders.useGameFonts = switchedOn;
    folders.quake3 = m_dir->filePath(QStringLiteral("baseq3"));
    folders.quakeWorld = m_dir->filePath(QStringLiteral("id1"));
    modes.setGameFolders(folders);
    QVERIFY(modes.startUp());
    if (ModeId(mode) == ModeId::QuakeWorldMod)
        m_prompts.fileAnswers.push_back(path);
    if (ModeId(mode) != ModeId::Quake3)
        QVERIFY(modes.enterMode(ModeId(mode)));
    QCOMPARE(modes.mode(), ModeId(mode));
    const QImage expected = font.convertToFormat(QImage::Format_RGB32);
    QCOMPARE(modes.fontPicture().image() == expected, gameFont);
    QVERIFY(!modes.fontPicture().image().isNull()); // the shipped picture, where not the game's
    QVERIFY2(note.isEmpty() ? modes.fontNote().isEmpty() : modes.fontNote().contains(note),
             qPrintable(modes.fontNote()));
    if (!gameFont || ModeId(mode) != ModeId::Quake3)
        return;
    // The colours are the white font multiplied, as the game draws them.
    QVERIFY(modes.pickColour(1));
    QCOMPARE(modes.fontPicture().image(), GameFont::tint(expected, 1));
    QCOMPARE(modes.glyph(65, 4), GameFont::tint(expected, 4).copy(16, 64, 16, 16));
}

QTEST_GUILESS_MAIN(TestModeController)
#include "tst_modecontroller.moc"
