// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUdpSocket>
#include <optional>

// What a QuakeWorld server did with a name, as read back from the server itself.
struct QwAnswer
{
    enum class Kind {
        Kept,    // the server holds the player under `name`
        Refused, // the server refused the connection; `text` is its words
        Failed,  // no answer in time, or the player was dropped; `text` says what happened
    };
    Kind kind = Kind::Failed;
    QByteArray name;
    QString text;
};

// A minimal QuakeWorld protocol 28 client, enough for a server to hold a player: the
// connectionless challenge and connect, the netchan with one reliable stream, and the signon
// up to "begin". It reads what the server keeps from the server's connectionless "status"
// (the list that qstat and the server browsers read) and checks it against the userinfo the
// server sends back. Every wait is bounded by a deadline of a few seconds; the server runs on
// 127.0.0.1.
class QwClient
{
public:
    explicit QwClient(quint16 serverPort);
    ~QwClient();
    QwClient(const QwClient &) = delete;
    QwClient &operator=(const QwClient &) = delete;

    // Joins with `name` in the userinfo (an empty name leaves the key out, as clients do).
    QwAnswer connect(const QByteArray &name);
    // Sends `setinfo name "<name>"` as a string command once joined.
    QwAnswer changeName(const QByteArray &name);
    // Says "drop" to the server, as a client that quits does; the destructor calls it.
    void disconnect();

    // A connectionless request ("status 1\n"); the reply without its 0xFF header, or nothing
    // within `msecs`. Usable before `connect`.
    std::optional<QByteArray> request(const QByteArray &command, int msecs);

private:
    void queueCommand(const QByteArray &command);
    bool settled() const;
    void transmit(const QByteArray &unreliable = QByteArray());
    void receive(int msecs);
    void handleSequenced(const QByteArray &packet);
    void parseMessages(const QByteArray &message);
    void followStuffedText();
    QwAnswer readBack();
    QwAnswer failed(const QString &what) const;

    QUdpSocket m_socket;
    quint16 m_serverPort;
    quint16 m_qport;

    // Netchan state, named after the engines' own fields.
    quint32 m_outgoingSequence = 1;
    quint32 m_incomingSequence = 0;
    quint32 m_incomingAcknowledged = 0;
    quint32 m_lastReliableSequence = 0;
    bool m_incomingReliableSequence = false;
    bool m_reliableSequence = false;
    bool m_incomingReliableAcknowledged = false;
    QByteArray m_reliable; // sent, not yet acknowledged
    QByteArray m_pending;  // waits for m_reliable to clear

    QList<QByteArray> m_connectionless;
    QList<QByteArray> m_stuffed;
    QByteArray m_printed;
    int m_spawnCount = -1;
    int m_slot = -1;
    int m_userId = -1;
    QByteArray m_userinfoName;
    bool m_begun = false;
    bool m_joined = false;
    bool m_dropped = false;
};
