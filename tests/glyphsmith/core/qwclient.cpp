// SPDX-License-Identifier: GPL-3.0-or-later
#include "qwclient.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QtEndian>

namespace {

const QByteArray connectionlessHeader("\xff\xff\xff\xff", 4);
const int protocolVersion = 28;
const int connectMsecs = 3000;
const int changeMsecs = 2000;
const int requestMsecs = 1000;
// Between our packets while we wait: the server answers a client that is not in the game yet
// only when it hears from it.
const int pacingMsecs = 20;

// Client to server.
const char clcNop = 1;
const char clcStringCmd = 4;

// Server to client: only the messages of the reliable stream up to and after "begin". The
// datagram that follows them (entities, player states) is never needed, so parsing a packet
// stops at the first message not listed here.
enum : quint8 {
    svcNop = 1,
    svcDisconnect = 2,
    svcUpdateStat = 3,
    svcSound = 6,
    svcPrint = 8,
    svcStuffText = 9,
    svcSetAngle = 10,
    svcServerData = 11,
    svcLightStyle = 12,
    svcUpdateFrags = 14,
    svcSetPause = 24,
    svcCenterPrint = 26,
    svcCdTrack = 32,
    svcSmallKick = 34,
    svcBigKick = 35,
    svcUpdatePing = 36,
    svcUpdateEnterTime = 37,
    svcUpdateStatLong = 38,
    svcMuzzleFlash = 39,
    svcUpdateUserinfo = 40,
    svcChokeCount = 44,
    svcMaxSpeed = 49,
    svcEntGravity = 50,
    svcSetInfo = 51,
    svcServerInfo = 52,
    svcUpdatePl = 53,
};

// Reads little-endian fields and NUL-ended strings; past the end it reads nothing and says so.
class Reader
{
public:
    explicit Reader(const QByteArray &data) : m_data(data) {}
    bool atEnd() const { return m_pos >= m_data.size(); }
    bool bad() const { return m_bad; }
    void skip(int n) { take(n); }
    quint8 byte()
    {
        const QByteArray b = take(1);
        return b.isEmpty() ? 0 : quint8(b[0]);
    }
    qint32 int32()
    {
        const QByteArray b = take(4);
        return b.size() == 4 ? qFromLittleEndian<qint32>(b.constData()) : 0;
    }
    quint16 uint16()
    {
        const QByteArray b = take(2);
        return b.size() == 2 ? qFromLittleEndian<quint16>(b.constData()) : 0;
    }
    QByteArray string()
    {
        const qsizetype end = m_data.indexOf('\0', m_pos);
        if (end < 0) {
            m_bad = true;
            m_pos = m_data.size();
            return QByteArray();
        }
        const QByteArray s = m_data.mid(m_pos, end - m_pos);
        m_pos = end + 1;
        return s;
    }

private:
    QByteArray take(int n)
    {
        if (m_pos + n > m_data.size()) {
            m_bad = true;
            m_pos = m_data.size();
            return QByteArray();
        }
        const QByteArray b = m_data.mid(m_pos, n);
        m_pos += n;
        return b;
    }

    QByteArray m_data;
    qsizetype m_pos = 0;
    bool m_bad = false;
};

QByteArray le32(quint32 value)
{
    QByteArray b(4, '\0');
    qToLittleEndian(value, b.data());
    return b;
}

// The value of `key` in a "\key\value\..." info string, or nothing when the key is absent.
std::optional<QByteArray> infoValue(const QByteArray &info, const QByteArray &key)
{
    const QList<QByteArray> parts = info.split('\\');
    for (qsizetype i = 1; i + 1 < parts.size(); i += 2) {
        if (parts[i] == key)
            return parts[i + 1];
    }
    return std::nullopt;
}

QString printable(const QByteArray &bytes)
{
    QString s;
    for (const char c : bytes) {
        const uchar u = uchar(c);
        if (u >= 32 && u < 127 && u != '\\')
            s += QLatin1Char(c);
        else
            s += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    return s;
}

} // namespace

QwClient::QwClient(quint16 serverPort)
    : m_serverPort(serverPort), m_qport(quint16(QRandomGenerator::global()->bounded(1, 65536)))
{
    m_socket.bind(QHostAddress::LocalHost, 0);
}

QwClient::~QwClient()
{
    disconnect();
}

std::optional<QByteArray> QwClient::request(const QByteArray &command, int msecs)
{
    m_connectionless.clear();
    m_socket.writeDatagram(connectionlessHeader + command, QHostAddress::LocalHost, m_serverPort);
    const QDeadlineTimer deadline(msecs);
    while (m_connectionless.isEmpty() && !deadline.hasExpired())
        receive(int(deadline.remainingTime()));
    if (m_connectionless.isEmpty())
        return std::nullopt;
    return m_connectionless.takeFirst();
}

QwAnswer QwClient::connect(const QByteArray &name)
{
    if (name.contains('\0'))
        return failed(QStringLiteral("a name holding byte 0 cannot be sent"));

    // "c<challenge>", possibly followed by a NUL and the server's protocol extensions.
    const std::optional<QByteArray> challenge = request("getchallenge\n", requestMsecs);
    if (!challenge || !challenge->startsWith('c'))
        return failed(QStringLiteral("no challenge from the server"));
    const int number = challenge->mid(1).split('\0').first().trimmed().toInt();

    // Clients send the name among other keys, not last: where it ends the userinfo, a
    // trailing backslash would read as an empty key instead of breaking the string.
    QByteArray userinfo;
    if (!name.isEmpty())
        userinfo += "\\name\\" + name;
    userinfo += "\\topcolor\\0\\bottomcolor\\0\\rate\\25000";
    const QByteArray line = "connect " + QByteArray::number(protocolVersion) + ' ' +
                            QByteArray::number(m_qport) + ' ' + QByteArray::number(number) + " \"" +
                            userinfo + "\"\n";
    const std::optional<QByteArray> reply = request(line, requestMsecs);
    if (!reply)
        return failed(QStringLiteral("no answer to connect"));
    if (reply->startsWith('n'))
        return {QwAnswer::Kind::Refused, QByteArray(),
                QString::fromLatin1(reply->mid(1).trimmed())};
    if (!reply->startsWith('j'))
        return failed(QStringLiteral("unexpected answer to connect: ") + printable(*reply));

    // The server asks for each next step with a stuffed "cmd ..." line; the models, sounds
    // and prespawn buffers are not needed for it to hold the player.
    m_joined = true;
    queueCommand("new");
    bool spawnAsked = false;
    const QDeadlineTimer deadline(connectMsecs);
    while (!deadline.hasExpired() && !m_dropped && !(m_begun && settled())) {
        transmit();
        receive(pacingMsecs);
        followStuffedText();
        if (m_spawnCount >= 0 && !spawnAsked) {
            queueCommand("spawn " + QByteArray::number(m_spawnCount) + " 0");
            spawnAsked = true;
        }
    }
    if (m_dropped)
        return failed(QStringLiteral("dropped during the signon"));
    if (!m_begun || !settled())
        return failed(QStringLiteral("the signon did not finish in %1 ms").arg(connectMsecs));

    QwAnswer answer = readBack();
    if (answer.kind == QwAnswer::Kind::Kept && answer.name != m_userinfoName) {
        return failed(QStringLiteral("the server lists \"%1\" but its userinfo says \"%2\"")
                          .arg(printable(answer.name), printable(m_userinfoName)));
    }
    return answer;
}

QwAnswer QwClient::changeName(const QByteArray &name)
{
    if (!m_begun || m_dropped)
        return failed(QStringLiteral("not in the game"));
    if (name.contains('\0'))
        return failed(QStringLiteral("a name holding byte 0 cannot be sent"));

    // Once the server acknowledges the command it has run it.
    queueCommand("setinfo name \"" + name + '"');
    const QDeadlineTimer deadline(changeMsecs);
    while (!deadline.hasExpired() && !m_dropped && !settled()) {
        transmit();
        receive(pacingMsecs);
    }
    if (m_dropped)
        return failed(QStringLiteral("dropped after the change"));
    if (!settled())
        return failed(QStringLiteral("the change was not acknowledged in %1 ms").arg(changeMsecs));
    return readBack();
}

void QwClient::disconnect()
{
    if (!m_joined)
        return;
    m_joined = false;
    // As clients do: three unreliable tries, no wait for an answer.
    const QByteArray drop = QByteArray(1, clcStringCmd) + "drop" + '\0';
    for (int i = 0; i < 3; ++i)
        transmit(drop);
}

void QwClient::queueCommand(const QByteArray &command)
{
    m_pending += clcStringCmd + command + '\0';
}

bool QwClient::settled() const
{
    return m_reliable.isEmpty() && m_pending.isEmpty();
}

// The engines' netchan: a reliable message is resent until the other side's acknowledgement
// bit shows it arrived; only one is in flight.
void QwClient::transmit(const QByteArray &unreliable)
{
    bool sendReliable = !m_reliable.isEmpty() && m_incomingAcknowledged > m_lastReliableSequence &&
                        m_incomingReliableAcknowledged != m_reliableSequence;
    if (m_reliable.isEmpty() && !m_pending.isEmpty()) {
        m_reliable = m_pending;
        m_pending.clear();
        m_reliableSequence = !m_reliableSequence;
        sendReliable = true;
    }

    QByteArray packet = le32(m_outgoingSequence | (sendReliable ? 0x80000000u : 0u)) +
                        le32(m_incomingSequence | (m_incomingReliableSequence ? 0x80000000u : 0u));
    packet += char(m_qport & 0xff);
    packet += char(m_qport >> 8);
    ++m_outgoingSequence;
    if (sendReliable) {
        packet += m_reliable;
        m_lastReliableSequence = m_outgoingSequence;
    }
    packet += unreliable.isEmpty() ? QByteArray(1, clcNop) : unreliable;
    m_socket.writeDatagram(packet, QHostAddress::LocalHost, m_serverPort);
}

void QwClient::receive(int msecs)
{
    if (!m_socket.hasPendingDatagrams())
        m_socket.waitForReadyRead(qMax(msecs, 0));
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram();
        if (datagram.senderPort() != m_serverPort)
            continue;
        const QByteArray data = datagram.data();
        if (data.startsWith(connectionlessHeader))
            m_connectionless.append(data.mid(4));
        else if (data.size() >= 8)
            handleSequenced(data);
    }
}

void QwClient::handleSequenced(const QByteArray &packet)
{
    Reader r(packet);
    const quint32 sequence = quint32(r.int32());
    const quint32 acknowledged = quint32(r.int32());
    const bool reliable = sequence >> 31;
    const bool reliableAcknowledged = acknowledged >> 31;
    if ((sequence & 0x7fffffff) <= m_incomingSequence)
        return; // stale or duplicated
    if (reliableAcknowledged == m_reliableSequence)
        m_reliable.clear();
    m_incomingSequence = sequence & 0x7fffffff;
    m_incomingAcknowledged = acknowledged & 0x7fffffff;
    m_incomingReliableAcknowledged = reliableAcknowledged;
    if (reliable)
        m_incomingReliableSequence = !m_incomingReliableSequence;
    parseMessages(packet.mid(8));
}

void QwClient::parseMessages(const QByteArray &message)
{
    Reader r(message);
    while (!r.atEnd() && !r.bad()) {
        switch (r.byte()) {
        case svcNop:
        case svcSmallKick:
        case svcBigKick:
            break;
        case svcDisconnect:
            m_dropped = true;
            return;
        case svcUpdateStat:
        case svcUpdatePl:
            r.skip(2);
            break;
        case svcCdTrack:
        case svcSetPause:
        case svcChokeCount:
            r.skip(1);
            break;
        case svcSetAngle:
        case svcUpdateFrags:
        case svcUpdatePing:
            r.skip(3);
            break;
        case svcMuzzleFlash:
            r.skip(2);
            break;
        case svcMaxSpeed:
        case svcEntGravity:
            r.skip(4);
            break;
        case svcUpdateEnterTime:
        case svcUpdateStatLong:
            r.skip(5);
            break;
        case svcSound: {
            const quint16 channel = r.uint16();
            r.skip((channel & 0x8000 ? 1 : 0) + (channel & 0x4000 ? 1 : 0) + 1 + 3 * 2);
            break;
        }
        case svcPrint:
            r.skip(1);
            m_printed += r.string();
            break;
        case svcCenterPrint:
            r.string();
            break;
        case svcStuffText:
            m_stuffed += r.string().split('\n');
            break;
        case svcLightStyle:
            r.skip(1);
            r.string();
            break;
        case svcServerInfo:
            r.string();
            r.string();
            break;
        case svcServerData:
            r.int32(); // protocol: we asked for no extensions, so no extension fields come first
            m_spawnCount = r.int32();
            r.string(); // game folder
            m_slot = r.byte() & 0x7f;
            r.string();     // level name
            r.skip(10 * 4); // movement values
            break;
        case svcUpdateUserinfo: {
            const int slot = r.byte();
            const int userId = r.int32();
            const QByteArray info = r.string();
            if (slot == m_slot) {
                m_userId = userId;
                m_userinfoName = infoValue(info, "name").value_or(QByteArray());
            }
            break;
        }
        case svcSetInfo: {
            const int slot = r.byte();
            const QByteArray key = r.string();
            const QByteArray value = r.string();
            if (slot == m_slot && key == "name")
                m_userinfoName = value;
            break;
        }
        default:
            return;
        }
    }
}

void QwClient::followStuffedText()
{
    while (!m_stuffed.isEmpty()) {
        const QByteArray line = m_stuffed.takeFirst().trimmed();
        if (line.startsWith("cmd "))
            queueCommand(line.mid(4));
        else if (line == "skins" && !m_begun) {
            // The last step of the signon: a real client loads the skins, then begins.
            queueCommand("begin " + QByteArray::number(m_spawnCount));
            m_begun = true;
        }
    }
}

// The player line of "status 2" is: userid frags minutes ping "name" "skin" top bottom. The
// server never keeps a name holding a quote, so the first two quotes enclose it.
QwAnswer QwClient::readBack()
{
    if (m_userId < 0)
        return failed(QStringLiteral("the server never sent this player's userinfo"));
    const std::optional<QByteArray> status = request("status 2\n", requestMsecs);
    if (!status || !status->startsWith('n'))
        return failed(QStringLiteral("no status from the server"));
    for (const QByteArray &line : status->mid(1).split('\n')) {
        const qsizetype open = line.indexOf('"');
        const qsizetype close = line.indexOf('"', open + 1);
        if (open < 0 || close < 0 || line.left(line.indexOf(' ')).toInt() != m_userId)
            continue;
        return {QwAnswer::Kind::Kept, line.mid(open + 1, close - open - 1), QString()};
    }
    return failed(QStringLiteral("the server does not list user %1").arg(m_userId));
}

QwAnswer QwClient::failed(const QString &what) const
{
    QString text = what;
    if (!m_printed.isEmpty())
        text += QStringLiteral(" (the server said: %1)").arg(printable(m_printed.right(300)));
    return {QwAnswer::Kind::Failed, QByteArray(), text};
}
