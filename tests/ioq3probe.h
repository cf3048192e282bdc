// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>
#include <optional>

// Debian's ioquake3 dedicated server (package ioquake3-server) started on a fake
// installation, to see what a player's client makes of the scripts in it. The
// server runs the player's scripts the way the client does, with networking off
// and nothing but a folder of our own:
// - the game folder is "glyph" (kGame) under a base folder (fs_basepath) and a
//   home folder (fs_homepath), and com_standalone is on: a folder named baseq3
//   is refused without id's paks. The home is searched before the base.
// - it execs default.cfg (the probe puts an empty one in the base folder), then
//   its config, then autoexec.cfg, each from the first folder that has it,
//   before any command from the command line (only `+set` comes earlier);
// - its config is q3config_server.cfg where the client's is q3config.cfg. Like
//   the client it rewrites that file in the home folder from its archived
//   settings at the start of a frame when one of them changed; a run here
//   quits within its first frame, after that write, so a change made by the
//   commands given reaches the file only through rewriteConfig(). The probe
//   hands a q3config.cfg in either folder to the server under the server's
//   name and gives it back (rewritten, in the home folder) afterwards, so a
//   test deals with the client's file only.
// What a run reports is the `name` cvar after start and the commands given,
// read from a `writeconfig` of the archived settings. Commands are ASCII: they
// pass through the command line.
class Ioq3Probe
{
public:
    static constexpr char kEngine[] = "/usr/lib/ioquake3/ioq3ded";
    static constexpr char kGame[] = "glyph";
    static constexpr char kClientConfig[] = "q3config.cfg";
    static constexpr char kServerConfig[] = "q3config_server.cfg";
    static constexpr int kTimeoutMs = 60000; // a bound for a hung engine, not a speed target

    // Why the engine cannot run here, or the empty text.
    static QString missing()
    {
        const QFileInfo engine{QString::fromLatin1(kEngine)};
        if (!engine.isFile() || !engine.isExecutable())
            return QStringLiteral("%1 is not installed (Debian package ioquake3-server)")
                .arg(QLatin1String(kEngine));
        return {};
    }

    // The command that writes the engine's config now, as the client does when a
    // setting changes.
    static QString rewriteConfig()
    {
        return QStringLiteral("writeconfig ") + QLatin1String(kServerConfig);
    }

    // Makes `root`/base/glyph (with an empty default.cfg) and `root`/home/glyph.
    explicit Ioq3Probe(const QString &root)
        : m_base(QDir(root).filePath(QStringLiteral("base"))),
          m_home(QDir(root).filePath(QStringLiteral("home")))
    {
        QDir().mkpath(baseFolder());
        QDir().mkpath(homeFolder());
        QFile defaults(QDir(baseFolder()).filePath(QStringLiteral("default.cfg")));
        if (!defaults.exists() && defaults.open(QIODevice::WriteOnly))
            defaults.write("// empty\n");
    }

    // The game folders, where a client keeps its scripts.
    QString baseFolder() const { return QDir(m_base).filePath(QLatin1String(kGame)); }
    QString homeFolder() const { return QDir(m_home).filePath(QLatin1String(kGame)); }

    struct Run
    {
        QString failure;                // why the run says nothing; empty when it ran
        std::optional<QByteArray> name; // the name cvar, when anything set it
        QByteArray log;                 // what the engine printed
    };

    // Starts the engine as a client starts, runs `commands` (as a player types
    // them: `seta name X`, words without blanks in them), and quits.
    Run start(const QStringList &commands = {}) const
    {
        Run run;
        static constexpr char kOut[] = "glyphsmith-probe.cfg";
        const QString out = QDir(homeFolder()).filePath(QLatin1String(kOut));
        QFile::remove(out);
        if (!swapConfigs(kClientConfig, kServerConfig)) {
            run.failure = QStringLiteral("both q3config.cfg and q3config_server.cfg are there");
            return run;
        }

        QStringList arguments = {
            QStringLiteral("+set"), QStringLiteral("net_enabled"),    QStringLiteral("0"),
            QStringLiteral("+set"), QStringLiteral("dedicated"),      QStringLiteral("1"),
            QStringLiteral("+set"), QStringLiteral("com_standalone"), QStringLiteral("1"),
            QStringLiteral("+set"), QStringLiteral("com_basegame"),   QLatin1String(kGame),
            QStringLiteral("+set"), QStringLiteral("fs_basepath"),    m_base,
            QStringLiteral("+set"), QStringLiteral("fs_homepath"),    m_home,
            QStringLiteral("+set"), QStringLiteral("ttycon"),         QStringLiteral("0")};
        // One word an argument: the engine puts quotes around an argument holding
        // a blank when it joins them into its command line.
        for (const QString &command : commands) {
            const QStringList words = command.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            for (qsizetype i = 0; i < words.size(); ++i)
                arguments << (i == 0 ? QLatin1Char('+') + words[i] : words[i]);
        }
        arguments << QStringLiteral("+writeconfig") << QLatin1String(kOut)
                  << QStringLiteral("+quit");

        QProcess engine;
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("HOME"), QFileInfo(m_home).path());
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
        engine.setProcessEnvironment(environment);
        engine.setWorkingDirectory(QFileInfo(m_home).path());
        engine.setProcessChannelMode(QProcess::MergedChannels);
        engine.setStandardInputFile(QProcess::nullDevice());
        engine.start(QLatin1String(kEngine), arguments);
        if (!engine.waitForStarted(kTimeoutMs)) {
            run.failure = engine.errorString();
        } else if (!engine.waitForFinished(kTimeoutMs)) {
            engine.kill(); // its own process id
            engine.waitForFinished(kTimeoutMs);
            run.failure = QStringLiteral("the engine did not quit");
        } else if (engine.exitStatus() != QProcess::NormalExit || engine.exitCode() != 0) {
            run.failure = QStringLiteral("the engine ended with %1").arg(engine.exitCode());
        }
        run.log = engine.readAll();
        if (!swapConfigs(kServerConfig, kClientConfig) && run.failure.isEmpty())
            run.failure = QStringLiteral("the engine's config could not be given back");

        QFile written(out);
        if (run.failure.isEmpty() && !written.open(QIODevice::ReadOnly))
            run.failure = QStringLiteral("the engine wrote no %1").arg(QLatin1String(kOut));
        const QByteArray settings = written.readAll();
        written.close();
        QFile::remove(out);
        for (const QByteArray &line : settings.split('\n')) {
            static constexpr char kPrefix[] = "seta name \"";
            if (line.startsWith(kPrefix) && line.endsWith('"'))
                run.name = line.mid(qsizetype(sizeof kPrefix) - 1).chopped(1);
        }
        return run;
    }

private:
    // Renames `from` to `to` in both folders; false, renaming nothing, when a
    // folder holds both.
    bool swapConfigs(const char *from, const char *to) const
    {
        const QStringList folders = {baseFolder(), homeFolder()};
        for (const QString &folder : folders) {
            const QDir dir(folder);
            if (dir.exists(QLatin1String(from)) && dir.exists(QLatin1String(to)))
                return false;
        }
        bool ok = true;
        for (const QString &folder : folders) {
            const QDir dir(folder);
            if (dir.exists(QLatin1String(from)))
                ok = QFile::rename(dir.filePath(QLatin1String(from)),
                                   dir.filePath(QLatin1String(to))) &&
                     ok;
        }
        return ok;
    }

    QString m_base;
    QString m_home;
};

// At the top of a test that needs the engine.
#define IOQ3PROBE_SKIP_IF_MISSING()                                                                \
    do {                                                                                           \
        const QString missing_ = Ioq3Probe::missing();                                             \
        if (!missing_.isEmpty())                                                                   \
            QSKIP(qPrintable(missing_));                                                           \
    } while (false)
