// SPDX-License-Identifier: GPL-3.0-or-later
#include "qwserver.h"

#include "qwclient.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QStandardPaths>
#include <QUdpSocket>
#include <QtEndian>
#include <array>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace {

const char progsPath[] = "/usr/lib/quakeworld/ktx/qwprogs.so";
const int answerMsecs = 5000;
const int stopMsecs = 2000;
const int launchTries = 3;

// Half the box's edge, in map units; the spawn point is its centre.
const int boxHalf = 256;

// The server's own settings. MVDSV binds its UDP port to the -ip address; it opens no TCP port
// while qtv_streamport is 0 (its default) and tells no master server while none is set. On
// loopback the server would send a client on a detour to learn its real address, so that is
// off; the map's checksum is not checked (the client has no copy). A player who leaves frees
// the slot at once instead of two seconds later: the test joins faster than that.
const char serverConfig[] = "sv_mapcheck 0\n"
                            "zombietime 0\n"
                            "sv_getrealip 0\n"
                            "setmaster none\n"
                            "qtv_streamport 0\n"
                            "rcon_password \"\"\n"
                            "hostname glyphsmith-test\n";

void put32(QByteArray &out, qint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void put16(QByteArray &out, qint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void putFloat(QByteArray &out, float v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

QwServer::QwServer()
{
    // A server left over by a test that crashed would keep the port and the folder.
#ifdef Q_OS_LINUX
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
}

QwServer::~QwServer()
{
    stop();
}

// Hull 0 is the box itself, for points; hulls 1 and 2 are the same box shrunk by the player's
// and the large monsters' extents, so that their centres stay inside it. Each hull is a chain
// of six axial planes, two per axis: beyond either plane is solid, between them the next plane
// decides, and after the last one the inside is empty. Hull 0 is written as nodes (children
// are node numbers, or -1 - leaf for leaf 0 = solid and leaf 1 = empty), the others as clip
// nodes (children are node numbers, or the contents -1 = empty, -2 = solid).
QByteArray QwServer::boxMap()
{
    struct Extents
    {
        std::array<int, 3> mins, maxs;
    };
    const std::array<Extents, 3> hulls = {{
        {{0, 0, 0}, {0, 0, 0}},
        {{-16, -16, -24}, {16, 16, 32}},
        {{-32, -32, -24}, {32, 32, 64}},
    }};

    QByteArray planes, nodes, clipNodes;
    for (int h = 0; h < 3; ++h) {
        for (int axis = 0; axis < 3; ++axis) {
            const std::array<int, 2> dists = {boxHalf - hulls[h].maxs[axis],
                                              -boxHalf - hulls[h].mins[axis]};
            for (const int dist : dists) {
                for (int a = 0; a < 3; ++a)
                    putFloat(planes, a == axis ? 1.0f : 0.0f);
                putFloat(planes, float(dist));
                put32(planes, axis); // the plane's type: axial along x, y or z
            }
        }
        for (int k = 0; k < 6; ++k) {
            const bool upper = k % 2 == 0; // the first plane of each pair is the far side
            const bool last = k == 5;
            const int plane = h * 6 + k;
            if (h == 0) {
                const qint16 next = last ? -2 : qint16(k + 1);
                put32(nodes, plane);
                put16(nodes, upper ? -1 : next);
                put16(nodes, upper ? next : -1);
                for (const int v : {-boxHalf, -boxHalf, -boxHalf, boxHalf, boxHalf, boxHalf})
                    put16(nodes, qint16(v));
                put16(nodes, 0); // first face
                put16(nodes, 0); // face count
            } else {
                const qint16 next = last ? -1 : qint16((h - 1) * 6 + k + 1);
                put32(clipNodes, plane);
                put16(clipNodes, upper ? -2 : next);
                put16(clipNodes, upper ? next : -2);
            }
        }
    }

    QByteArray leafs;
    for (const int contents : {-2, -1}) { // leaf 0 solid, leaf 1 the empty inside
        put32(leafs, contents);
        put32(leafs, -1); // no visibility data: everything sees everything
        for (int i = 0; i < 6; ++i)
            put16(leafs, qint16(contents == -1 ? (i < 3 ? -boxHalf : boxHalf) : 0));
        put16(leafs, 0); // first mark surface
        put16(leafs, 0); // mark surface count
        put32(leafs, 0); // ambient sound levels
    }

    QByteArray models; // the world: its bounds, origin, hull heads, one visible leaf, no faces
    for (const int v : {-boxHalf, -boxHalf, -boxHalf, boxHalf, boxHalf, boxHalf, 0, 0, 0})
        putFloat(models, float(v));
    for (const int v : {0, 0, 6, 0, 1, 0, 0})
        put32(models, v);

    const QByteArray entities = "{\n\"classname\" \"worldspawn\"\n\"message\" \"box\"\n}\n"
                                "{\n\"classname\" \"info_player_deathmatch\"\n"
                                "\"origin\" \"0 0 0\"\n}\n"
                                "{\n\"classname\" \"info_player_start\"\n"
                                "\"origin\" \"0 0 0\"\n}\n";

    // The header's lumps in their order; the others stay empty.
    std::array<QByteArray, 15> lumps;
    lumps[0] = entities + '\0';
    lumps[1] = planes;
    lumps[5] = nodes;
    lumps[9] = clipNodes;
    lumps[10] = leafs;
    lumps[14] = models;

    const int headerSize = 4 + 15 * 8;
    QByteArray header, body;
    put32(header, 29);
    for (const QByteArray &lump : lumps) {
        while (body.size() % 4)
            body += '\0';
        put32(header, qint32(headerSize + body.size()));
        put32(header, qint32(lump.size()));
        body += lump;
    }
    return header + body;
}

bool QwServer::layOut()
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder: %1").arg(m_dir.errorString());
        return false;
    }
    const QDir root(m_dir.path());
    if (!root.mkpath(QStringLiteral("ktx/maps"))) {
        m_error = QStringLiteral("cannot make %1").arg(root.filePath(QStringLiteral("ktx/maps")));
        return false;
    }
    // MVDSV loads native progs as <game folder>/qwprogs.so.
    if (!QFile::link(QString::fromLatin1(progsPath),
                     root.filePath(QStringLiteral("ktx/qwprogs.so")))) {
        m_error = QStringLiteral("cannot link KTX's progs into %1").arg(root.path());
        return false;
    }
    const std::array<std::pair<QString, QByteArray>, 2> files = {{
        {QStringLiteral("ktx/maps/start.bsp"), boxMap()},
        {QStringLiteral("ktx/server.cfg"), QByteArray(serverConfig)}, // run at every start
    }};
    for (const auto &[name, bytes] : files) {
        QFile file(root.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.flush()) {
            m_error =
                QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
            return false;
        }
    }
    return true;
}

bool QwServer::start()
{
    const QString program =
        QStandardPaths::findExecutable(QStringLiteral("mvdsv"), {QStringLiteral("/usr/games")});
    const QString fromPath = QStandardPaths::findExecutable(QStringLiteral("mvdsv"));
    if (program.isEmpty() && fromPath.isEmpty()) {
        m_error = QStringLiteral("mvdsv is not installed (Debian package mvdsv)");
        return false;
    }
    if (!QFileInfo::exists(QString::fromLatin1(progsPath))) {
        m_error = QStringLiteral("KTX is not installed: no %1 (Debian package ktx)")
                      .arg(QString::fromLatin1(progsPath));
        return false;
    }
    m_process.setProgram(program.isEmpty() ? fromPath : program);
    if (!layOut())
        return false;

    // A port the system has just handed out is free unless someone takes it in between:
    // then mvdsv fails to bind and exits, and the next try takes another.
    for (int attempt = 0; attempt < launchTries; ++attempt) {
        QUdpSocket probe;
        if (!probe.bind(QHostAddress::LocalHost, 0)) {
            m_error = QStringLiteral("no free UDP port on 127.0.0.1");
            return false;
        }
        const quint16 port = probe.localPort();
        probe.close();
        if (launch(port))
            return true;
        stop();
    }
    return false;
}

bool QwServer::launch(quint16 port)
{
    m_port = port;
    m_process.setArguments({QStringLiteral("-basedir"), m_dir.path(), QStringLiteral("-game"),
                            QStringLiteral("ktx"), QStringLiteral("-progtype"), QStringLiteral("1"),
                            QStringLiteral("-ip"), QStringLiteral("127.0.0.1"),
                            QStringLiteral("-port"), QString::number(port), QStringLiteral("+map"),
                            QStringLiteral("start")});
    // Anything the server writes (its logs are relative to here) stays in its folder; its
    // console goes to a file, so a full pipe never blocks it.
    m_process.setWorkingDirectory(m_dir.path());
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(QDir(m_dir.path()).filePath(QStringLiteral("console.log")));
    m_process.start();
    if (!m_process.waitForStarted(answerMsecs)) {
        m_error = QStringLiteral("mvdsv did not start: %1").arg(m_process.errorString());
        return false;
    }

    QwClient probe(port);
    const QDeadlineTimer deadline(answerMsecs);
    while (!deadline.hasExpired()) {
        if (probe.request("status 1\n", 100))
            return true;
        if (m_process.state() != QProcess::Running || m_process.waitForFinished(0)) {
            m_error = QStringLiteral("mvdsv exited: %1").arg(consoleTail());
            return false;
        }
    }
    m_error = QStringLiteral("mvdsv did not answer on 127.0.0.1:%1 within %2 ms: %3")
                  .arg(port)
                  .arg(answerMsecs)
                  .arg(consoleTail());
    return false;
}

void QwServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(stopMsecs)) {
        m_process.kill();
        m_process.waitForFinished(stopMsecs);
    }
}

QString QwServer::consoleTail() const
{
    QFile file(QDir(m_dir.path()).filePath(QStringLiteral("console.log")));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll().right(800));
}
