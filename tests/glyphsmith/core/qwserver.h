// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Debian's MVDSV with KTX, run for a test on 127.0.0.1 only, from a folder of its own that
// holds nothing of the game's data: KTX's progs, a box map written here and a config. Stopped
// by its process id when the object goes, and killed with the test process if that dies first.
class QwServer
{
public:
    QwServer();
    ~QwServer();
    QwServer(const QwServer &) = delete;
    QwServer &operator=(const QwServer &) = delete;

    // Lays out the folder, starts mvdsv and waits (a few seconds at most) until it answers.
    // False when it cannot run here; errorString() then says why.
    bool start();
    QString errorString() const { return m_error; }
    quint16 port() const { return m_port; }
    // The end of the server's console output, for a failure message.
    QString consoleTail() const;

    // The smallest closed map that MVDSV loads: a BSP version 29 box with the world's three
    // clipping hulls and one spawn point, no faces, textures or visibility.
    static QByteArray boxMap();

private:
    bool layOut();
    bool launch(quint16 port);
    void stop();

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
};
