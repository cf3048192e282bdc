// SPDX-License-Identifier: GPL-3.0-or-later
// Save benchmark: prints what one save costs in memory and time.
//   - QuickSave (the script append) on a script of 50 MB: the peak resident
//     memory beyond what the process held before the save;
//   - one value stored into a key store of 100 000 keys: the time, and the peak
//     extra memory against the store's file size.
// Each measurement runs in a child process of its own, whose high-water mark of
// resident memory is reset just before the save (/proc/self/clear_refs).
//
//   savebench [-n runs] [-s script MB] [-k keys] [folder]
// The folder defaults to the system's temporary folder; the files made there are
// removed at the end.
#include "keystore.h"
#include "scriptwriter.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// A field of /proc/self/status, in kB.
long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

struct Sample
{
    double ms = 0;
    long extraKb = 0;
    bool ok = false;
};

// Runs `save` in a child process; its time and the peak memory it added.
template <typename Save> Sample measure(Save save)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        const long before = statusKb("VmRSS");
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        const bool reset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
        clear.close();
        QElapsedTimer timer;
        timer.start();
        const bool ok = save();
        Sample s;
        s.ms = double(timer.nsecsElapsed()) / 1e6;
        s.extraKb = reset ? statusKb("VmHWM") - before : -1;
        s.ok = ok;
        const ssize_t written = ::write(pipeFds[1], &s, sizeof s);
        ::_exit(written == sizeof s ? 0 : 1);
    }
    ::close(pipeFds[1]);
    Sample s;
    if (::read(pipeFds[0], &s, sizeof s) != sizeof s)
        s = {};
    ::close(pipeFds[0]);
    ::waitpid(child, nullptr, 0);
    return s;
}

// Also builds against the save code from before FileError, for the figures of both.
template <typename Result> bool succeeded(const Result &result)
{
    if constexpr (requires { result.ok(); })
        return result.ok();
    else
        return result.ok;
}

template <typename T> T median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? T{} : v[v.size() / 2];
}

// A script of about `megabytes` MB of plausible lines, written in pieces.
bool makeScript(const QString &path, int megabytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    for (int i = 0; chunk.size() < 1024 * 1024; ++i)
        chunk += "bind " + QByteArray::number(i % 97) + " \"say hello number " +
                 QByteArray::number(i) + "\"\r\n";
    for (int i = 0; i < megabytes; ++i) {
        if (file.write(chunk) != chunk.size())
            return false;
    }
    return file.flush();
}

// A store of `keys` keys with a value each, as the programs would write it.
bool makeStore(const QString &path, int keys)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("REGEDIT4\r\n") < 0)
        return false;
    QByteArray chunk;
    for (int i = 0; i < keys; ++i) {
        chunk += "\r\n[HKEY_CURRENT_USER\\Software\\Bench\\Key" + QByteArray::number(i) +
                 "]\r\n\"Custom CFG\"=\"GLYPH-" + QByteArray::number(i) + ".cfg\"\r\n";
        if (chunk.size() > 1024 * 1024 || i == keys - 1) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return file.flush();
}

const char *fileSystem(const QString &folder)
{
    struct statfs fs = {};
    if (::statfs(QFile::encodeName(folder).constData(), &fs) != 0)
        return "?";
    switch (fs.f_type) {
    case 0xEF53:
        return "ext4";
    case 0x01021994:
        return "tmpfs";
    case 0x9123683E:
        return "btrfs";
    case 0x58465342:
        return "xfs";
    case 0x794C7630:
        return "overlayfs";
    }
    return "other";
}

} // namespace

int main(int argc, char *argv[])
{
    int runs = 5;
    int scriptMb = 50;
    int keys = 100000;
    QString folder = QDir::tempPath();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-n") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "-s") == 0 && i + 1 < argc)
            scriptMb = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "-k") == 0 && i + 1 < argc)
            keys = std::max(1, std::atoi(argv[++i]));
        else
            folder = QString::fromLocal8Bit(argv[i]);
    }
    QTemporaryDir dir(folder + QStringLiteral("/savebench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "savebench: cannot make a folder in %s\n", qPrintable(folder));
        return 1;
    }
    std::printf("folder %s (%s), %d runs each, medians\n", qPrintable(dir.path()),
                fileSystem(dir.path()), runs);

    const QString script = dir.filePath(QStringLiteral("q3config.cfg"));
    if (!makeScript(script, scriptMb))
        return 1;
    std::vector<long> scriptKb;
    std::vector<double> scriptMs;
    for (int i = 0; i < runs; ++i) {
        const Sample s = measure([&] {
            return succeeded(ScriptWriter::appendLine(script, "name \"^1bench\"",
                                                      ScriptWriter::Tail::WhenCreated));
        });
        if (!s.ok)
            return 1;
        scriptKb.push_back(s.extraKb);
        scriptMs.push_back(s.ms);
    }
    std::printf("QuickSave, script of %.1f MB: peak extra memory %ld kB, %.1f ms\n",
                double(QFileInfo(script).size()) / (1024 * 1024), median(scriptKb),
                median(scriptMs));

    const QString storeFile = dir.filePath(QStringLiteral("registry.reg"));
    if (!makeStore(storeFile, keys))
        return 1;
    const double storeMb = double(QFileInfo(storeFile).size()) / (1024 * 1024);
    std::vector<long> storeKb;
    std::vector<double> storeMs;
    for (int i = 0; i < runs; ++i) {
        // The key in the middle of the file, a value that alternates.
        const Sample s = measure([&] {
            KeyStore store(storeFile);
            return succeeded(store.storeString(
                KeyStore::Root::CurrentUser, QStringLiteral("Software\\Bench\\Key%1").arg(keys / 2),
                QStringLiteral("Custom CFG"), QByteArray::number(i)));
        });
        if (!s.ok)
            return 1;
        storeKb.push_back(s.extraKb);
        storeMs.push_back(s.ms);
    }
    std::printf("key store of %d keys (%.1f MB), one value stored: %.1f ms, peak extra memory "
                "%ld kB (%.2f x the file)\n",
                keys, storeMb, median(storeMs), median(storeKb),
                double(median(storeKb)) / (storeMb * 1024));
    return 0;
}
