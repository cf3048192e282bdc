#include "apppaths.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

const QByteArray kShipped("[Glyphsmith]\r\nfirst=yes\r\n");
const auto kReadOnlyFolder = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser;
const auto kWritableFolder = kReadOnlyFolder | QFile::WriteOwner | QFile::WriteUser;

} // namespace

using TestFiles::readBytes;
using TestFiles::writeBytes;

class TestAppPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void programFolderOverride();
    void configFolderFollowsXdg();
    void settingsInWritableProgramFolder();
    void settingsCopiedWhenProgramFolderReadOnly();
    void settingsCopiedWhenShippedFileReadOnly();
    void settingsInConfigWhenProgramFolderMissing();
    void settingsCopiedForAnInstalledCopy();

private:
    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_config;
};

void TestAppPaths::init()
{
    m_program = std::make_unique<QTemporaryDir>();
    m_config = std::make_unique<QTemporaryDir>();
    QVERIFY(m_program->isValid() && m_config->isValid());
    AppPaths::setProgramFolder(m_program->path());
    qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
}

void TestAppPaths::cleanup()
{
    // A read-only folder would stop QTemporaryDir from cleaning up.
    QFile::setPermissions(m_program->path(), kWritableFolder);
    AppPaths::setProgramFolder(QString());
    m_program.reset();
    m_config.reset();
}

void TestAppPaths::programFolderOverride()
{
    QCOMPARE(AppPaths::programFolder(), m_program->path());
    QCOMPARE(AppPaths::dataFile(QStringLiteral("q3a/q3-white.gif")),
             m_program->path() + QStringLiteral("/q3a/q3-white.gif"));

    AppPaths::setProgramFolder(m_program->path() + QStringLiteral("/sub/../"));
    QCOMPARE(AppPaths::programFolder(), m_program->path());

    qputenv("GLYPH_PROGRAM_DIR", "/opt/glyph/");
    AppPaths::setProgramFolder(QString());
    QCOMPARE(AppPaths::programFolder(), QStringLiteral("/opt/glyph"));
    qunsetenv("GLYPH_PROGRAM_DIR");
}

void TestAppPaths::configFolderFollowsXdg()
{
    QCOMPARE(AppPaths::configFolder(), m_config->path() + QStringLiteral("/glyphsmith"));
    QCOMPARE(AppPaths::keyStoreFile(),
             m_config->path() + QStringLiteral("/glyphsmith/registry.reg"));
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(AppPaths::configFolder(), QDir::homePath() + QStringLiteral("/.config/glyphsmith"));
}

void TestAppPaths::settingsInWritableProgramFolder()
{
    const QString shipped = m_program->filePath(QStringLiteral("glyph.ini"));
    QCOMPARE(AppPaths::settingsFile(), shipped);

    QVERIFY(writeBytes(shipped, kShipped));
    QCOMPARE(AppPaths::settingsFile(), shipped);
    QVERIFY(!QFile::exists(AppPaths::configFolder()));
}

void TestAppPaths::settingsCopiedWhenProgramFolderReadOnly()
{
    if (geteuid() == 0)
        QSKIP("root writes into read-only folders");
    QVERIFY(writeBytes(m_program->filePath(QStringLiteral("glyph.ini")), kShipped));
    QVERIFY(QFile::setPermissions(m_program->path(), kReadOnlyFolder));

    const QString own = AppPaths::configFolder() + QStringLiteral("/glyph.ini");
    QCOMPARE(AppPaths::settingsFile(), own);
    QCOMPARE(readBytes(own), kShipped);
    QVERIFY(QFileInfo(own).isWritable());

    // A copy the user has changed is never replaced by the shipped one again.
    QVERIFY(writeBytes(own, "[Glyphsmith]\r\nfirst=no\r\n"));
    QCOMPARE(AppPaths::settingsFile(), own);
    QCOMPARE(readBytes(own), QByteArray("[Glyphsmith]\r\nfirst=no\r\n"));
}

void TestAppPaths::settingsCopiedWhenShippedFileReadOnly()
{
    if (geteuid() == 0)
        QSKIP("root writes into read-only files");
    const QString shipped = m_program->filePath(QStringLiteral("glyph.ini"));
    QVERIFY(writeBytes(shipped, kShipped));
    QVERIFY(QFile::setPermissions(shipped, QFile::ReadOwner | QFile::ReadUser));

    const QString own = AppPaths::configFolder() + QStringLiteral("/glyph.ini");
    QCOMPARE(AppPaths::settingsFile(), own);
    QCOMPARE(readBytes(own), kShipped);
    QVERIFY(QFileInfo(own).isWritable());
}

void TestAppPaths::settingsInConfigWhenProgramFolderMissing()
{
    AppPaths::setProgramFolder(m_program->filePath(QStringLiteral("gone")));
    const QString own = AppPaths::configFolder() + QStringLiteral("/glyph.ini");
    QCOMPARE(AppPaths::settingsFile(), own);
    QVERIFY(QFileInfo(AppPaths::configFolder()).isDir());
    QVERIFY(!QFile::exists(own));
}

// An installed copy keeps every user's settings apart, even for a user (root) who
// could write the package's folder.
void TestAppPaths::settingsCopiedForAnInstalledCopy()
{
    QVERIFY(writeBytes(m_program->filePath(QStringLiteral("glyph.ini")), kShipped));
    QVERIFY(writeBytes(m_program->filePath(QLatin1String(AppPaths::kInstalledMarker)), ""));
    const QString own = AppPaths::configFolder() + QStringLiteral("/glyph.ini");
    QCOMPARE(AppPaths::settingsFile(), own);
    QCOMPARE(readBytes(own), kShipped);
}

QTEST_GUILESS_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
