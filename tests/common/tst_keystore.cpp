#include "fileerrortest.h"
#include "keystore.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <climits>
#include <memory>

using Root = KeyStore::Root;
using Type = KeyStore::Value::Type;

namespace {

const QString kProfiles = QStringLiteral("Software\\GameSpy\\GameSpy 3D\\Profiles");

} // namespace

using TestFiles::readBytes;
using TestFiles::writeBytes;

class TestKeyStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void missingFileIsEmptyStore();
    void createKeyWritesEveryLevel();
    void createKeyLeavesExistingKeyAlone();
    void storeString_data();
    void storeString();
    void storeDword_data();
    void storeDword();
    void storeIntoMissingKeyFails();
    void replaceKeepsPositionAndOtherLines();
    void newValueGoesAfterTheKeysLastValue();
    void keyImpliedByChildTakesValues();
    void addedValueEndsAnOpenContinuation_data();
    void addedValueEndsAnOpenContinuation();
    void read_data();
    void read();
    void refusedNames_data();
    void refusedNames();
    void unwritableFile_data();
    void unwritableFile();
    void utf16ExportNotTouched();
    void concurrentWritersLoseNothing();

private:
    QTemporaryDir m_dir;
    QString m_file;
};

void TestKeyStore::init()
{
    QVERIFY(m_dir.isValid());
    m_file = m_dir.filePath(QStringLiteral("sub/registry.reg"));
    QDir(m_dir.path()).removeRecursively();
    QVERIFY(QDir().mkpath(m_dir.path()));
}

void TestKeyStore::missingFileIsEmptyStore()
{
    KeyStore store(m_file);
    QVERIFY(!store.keyExists(Root::CurrentUser, QStringLiteral("Software")));
    QVERIFY(!store.readValue(Root::CurrentUser, QStringLiteral("Software"), QStringLiteral("x")));
    const FileError r =
        store.storeString(Root::CurrentUser, QStringLiteral("Software"), QStringLiteral("x"), "y");
    QVERIFY(!r.ok());
    QVERIFY(!r.text().isEmpty());
    QVERIFY(!QFileInfo::exists(QFileInfo(m_file).path()));
}

void TestKeyStore::createKeyWritesEveryLevel()
{
    KeyStore store(m_file);
    const FileError r = store.createKey(Root::CurrentUser, kProfiles);
    QVERIFY2(r.ok(), qPrintable(r.text()));
    QVERIFY(r.text().isEmpty());
    QCOMPARE(readBytes(m_file), QByteArray("REGEDIT4\r\n"
                                           "\r\n"
                                           "[HKEY_CURRENT_USER\\Software]\r\n"
                                           "\r\n"
                                           "[HKEY_CURRENT_USER\\Software\\GameSpy]\r\n"
                                           "\r\n"
                                           "[HKEY_CURRENT_USER\\Software\\GameSpy\\GameSpy 3D]\r\n"
                                           "\r\n"
                                           "[HKEY_CURRENT_USER\\Software\\GameSpy\\GameSpy 3D\\"
                                           "Profiles]\r\n"));
    QVERIFY(store.keyExists(Root::CurrentUser, QStringLiteral("SOFTWARE\\gamespy")));
    QVERIFY(store.keyExists(Root::CurrentUser, kProfiles.toLower()));
    QVERIFY(!store.keyExists(Root::CurrentUser, kProfiles + QStringLiteral("\\Deeper")));
    QVERIFY(!store.keyExists(Root::CurrentUser, QStringLiteral("Software\\Game")));
    QVERIFY(!store.keyExists(Root::LocalMachine, QStringLiteral("Software")));
    QVERIFY(!QFile::exists(m_file + QLatin1String(".lock")));
}

void TestKeyStore::createKeyLeavesExistingKeyAlone()
{
    const QByteArray before("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"v\"=\"1\"\r\n");
    QVERIFY(QDir().mkpath(QFileInfo(m_file).path()));
    QVERIFY(writeBytes(m_file, before));
    KeyStore store(m_file);
    QVERIFY_OK(store.createKey(Root::CurrentUser, QStringLiteral("software\\a")));
    QVERIFY_OK(store.createKey(Root::CurrentUser, QStringLiteral("Software")));
    QCOMPARE(readBytes(m_file), before);

    QVERIFY_OK(store.createKey(Root::CurrentUser, QStringLiteral("Software\\A\\B")));
    QCOMPARE(readBytes(m_file), before + "\r\n[HKEY_CURRENT_USER\\Software\\A\\B]\r\n");
}

void TestKeyStore::storeString_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("plain") << QByteArray("Player") << QByteArray("\"Custom CFG\"=\"Player\"");
    QTest::newRow("empty") << QByteArray("") << QByteArray("\"Custom CFG\"=\"\"");
    QTest::newRow("backslash and quote escaped")
        << QByteArray("a\\b\"c") << QByteArray("\"Custom CFG\"=\"a\\\\b\\\"c\"");
    QTest::newRow("accented byte as hex(1)") << QByteArray("A\xE9"
                                                           "B")
                                             << QByteArray("\"Custom CFG\"=hex(1):41,e9,42");
    QTest::newRow("colour code byte as hex(1)")
        << QByteArray("\x01^1x") << QByteArray("\"Custom CFG\"=hex(1):01,5e,31,78");
    QTest::newRow("DEL as hex(1)") << QByteArray("\x7F") << QByteArray("\"Custom CFG\"=hex(1):7f");
    QTest::newRow("14 characters, 14 bytes, no zero")
        << QByteArray("\xAB"
                      "abcdefghijklm")
        << QByteArray("\"Custom CFG\"=hex(1):ab,61,62,63,64,65,66,67,68,69,6a,6b,6c,6d");
}

void TestKeyStore::storeString()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, line);

    KeyStore store(m_file);
    QVERIFY_OK(store.createKey(Root::CurrentUser, kProfiles));
    const FileError r =
        store.storeString(Root::CurrentUser, kProfiles, QStringLiteral("Custom CFG"), bytes);
    QVERIFY2(r.ok(), qPrintable(r.text()));
    QVERIFY(readBytes(m_file).endsWith("Profiles]\r\n" + line + "\r\n"));

    const auto value = store.readValue(Root::CurrentUser, kProfiles, QStringLiteral("custom cfg"));
    QVERIFY(value);
    QCOMPARE(value->type, Type::String);
    QCOMPARE(value->bytes, bytes);
}

void TestKeyStore::storeDword_data()
{
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("ten") << 10 << QByteArray("\"n\"=dword:0000000a");
    QTest::newRow("zero") << 0 << QByteArray("\"n\"=dword:00000000");
    QTest::newRow("minus one") << -1 << QByteArray("\"n\"=dword:ffffffff");
    QTest::newRow("lowest") << INT_MIN << QByteArray("\"n\"=dword:80000000");
    QTest::newRow("highest") << INT_MAX << QByteArray("\"n\"=dword:7fffffff");
}

void TestKeyStore::storeDword()
{
    QFETCH(qint32, number);
    QFETCH(QByteArray, line);

    KeyStore store(m_file);
    QVERIFY_OK(store.createKey(Root::CurrentUser, QStringLiteral("K")));
    QVERIFY_OK(
        store.storeDword(Root::CurrentUser, QStringLiteral("K"), QStringLiteral("n"), number));
    QVERIFY(readBytes(m_file).endsWith("[HKEY_CURRENT_USER\\K]\r\n" + line + "\r\n"));
    const auto value = store.readValue(Root::CurrentUser, QStringLiteral("K"), QStringLiteral("N"));
    QVERIFY(value);
    QCOMPARE(value->type, Type::Dword);
    QCOMPARE(value->dword, number);
}

void TestKeyStore::storeIntoMissingKeyFails()
{
    KeyStore store(m_file);
    QVERIFY_OK(store.createKey(Root::CurrentUser, QStringLiteral("Software\\A")));
    const QByteArray before = readBytes(m_file);

    const FileError s = store.storeString(Root::CurrentUser, QStringLiteral("Software\\B"),
                                          QStringLiteral("x"), "y");
    QVERIFY(!s.ok());
    QVERIFY(s.text().contains(QLatin1String("Software\\B")));
    const FileError d =
        store.storeDword(Root::LocalMachine, QStringLiteral("Software\\A"), QStringLiteral("x"), 1);
    QVERIFY(!d.ok());
    QCOMPARE(readBytes(m_file), before);
    QVERIFY(!store.keyExists(Root::CurrentUser, QStringLiteral("Software\\B")));
}

void TestKeyStore::replaceKeepsPositionAndOtherLines()
{
    QVERIFY(QDir().mkpath(QFileInfo(m_file).path()));
    QVERIFY(writeBytes(m_file, "REGEDIT4\n"
                               "; written by hand\n"
                               "[HKEY_CURRENT_USER\\K]\n"
                               "\"First\"=\"1\"\n"
                               "\"Name\"=hex(1):41,\\\n"
                               "  42\n"
                               "something odd\n"
                               "\"Last\"=dword:00000003\n"
                               "[HKEY_CLASSES_ROOT\\X]\n"
                               "\"Name\"=\"other root\"\n"));
    KeyStore store(m_file);
    QVERIFY_OK(
        store.storeString(Root::CurrentUser, QStringLiteral("k"), QStringLiteral("NAME"), "new"));
    QVERIFY_OK(
        store.storeDword(Root::CurrentUser, QStringLiteral("K"), QStringLiteral("first"), 7));
    QCOMPARE(readBytes(m_file), QByteArray("REGEDIT4\n"
                                           "; written by hand\n"
                                           "[HKEY_CURRENT_USER\\K]\n"
                                           "\"First\"=dword:00000007\n"
                                           "\"Name\"=\"new\"\n"
                                           "something odd\n"
                                           "\"Last\"=dword:00000003\n"
                                           "[HKEY_CLASSES_ROOT\\X]\n"
                                           "\"Name\"=\"other root\"\n"));
}

void TestKeyStore::newValueGoesAfterTheKeysLastValue()
{
    QVERIFY(QDir().mkpath(QFileInfo(m_file).path()));
    QVERIFY(writeBytes(m_file, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n\r\n"
                               "[HKEY_CURRENT_USER\\B]\r\n\"y\"=\"2\""));
    KeyStore store(m_file);
    QVERIFY_OK(store.storeString(Root::CurrentUser, QStringLiteral("A"), QString(), "dflt"));
    QVERIFY_OK(store.storeString(Root::CurrentUser, QStringLiteral("B"), QStringLiteral("z"), "3"));
    QCOMPARE(
        readBytes(m_file),
        QByteArray("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n@=\"dflt\"\r\n\r\n"
                   "[HKEY_CURRENT_USER\\B]\r\n\"y\"=\"2\"\r\n\"z\"=\"3\"\r\n"));
    QCOMPARE(store.readValue(Root::CurrentUser, QStringLiteral("A"), QString())->bytes,
             QByteArray("dflt"));
}

void TestKeyStore::keyImpliedByChildTakesValues()
{
    QVERIFY(QDir().mkpath(QFileInfo(m_file).path()));
    QVERIFY(writeBytes(m_file, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A\\B]\r\n"));
    KeyStore store(m_file);
    QVERIFY(store.keyExists(Root::CurrentUser, QStringLiteral("A")));
    QVERIFY_OK(store.storeDword(Root::CurrentUser, QStringLiteral("A"), QStringLiteral("n"), 1));
    QCOMPARE(readBytes(m_file), QByteArray("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A\\B]\r\n\r\n"
                                           "[HKEY_CURRENT_USER\\A]\r\n\"n\"=dword:00000001\r\n"));
}

void TestKeyStore::addedValueEndsAnOpenContinuation_data()
{
    QTest::addColumn<QByteArray>("last"); // the file's last line, a hex value left open
    QTest::newRow("without a line end") << QByteArray("\"n\"=hex:01,\\");
    QTest::newRow("with its line end") << QByteArray("\"n\"=hex:01,\\\r\n");
    QTest::newRow("ending in two backslashes") << QByteArray("\"n\"=hex:01,\\\\\r\n");
}

// Read as a continuation, the added value would be lost and every retry would add
// it again; a blank line ends the open value first.
void TestKeyStore::addedValueEndsAnOpenContinuation()
{
    QFETCH(QByteArray, last);

    const QByteArray head("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n");
    QVERIFY(QDir().mkpath(QFileInfo(m_file).path()));
    QVERIFY(writeBytes(m_file, head + last));
    KeyStore store(m_file);
    QVERIFY_OK(store.storeString(Root::CurrentUser, QStringLiteral("K"), QStringLiteral("m"), "v"));
    const QByteArray ended = last.endsWith('\n') ? last : last + "\r\n";
    QCOMPARE(readBytes(m_file), head + ended + "\r\n\"m\"=\"v\"\r\n");
    QCOMPARE(store.readValue(Root::CurrentUser, QStringLiteral("K"), QStringLiteral("m"))->bytes,
             QByteArray("v"));

    QVERIFY_OK(store.storeString(Root::CurrentUser, QStringLiteral("K"), QStringLiteral("m"), "v"));
    QCOMPARE(readBytes(m_file), head + ended + "\r\n\"m\"=\"v\"\r\n");
}

void TestKeyStore::read_data()
{
    QTest::addColumn<QByteArray>("body"); // lines after "REGEDIT4" and the key's header
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint32>("dword");

    const int str = int(Type::String);
    const int dw = int(Type::Dword);
    const int other = int(Type::Other);
    QTest::newRow("default value")
        << QByteArray("@=\"d\"\r\n") << "" << true << str << QByteArray("d") << 0;
    QTest::newRow("escaped name") << QByteArray("\"a\\\"b\"=\"v\"\r\n") << "a\"b" << true << str
                                  << QByteArray("v") << 0;
    QTest::newRow("unknown escape kept")
        << QByteArray("\"n\"=\"a\\nb\"\r\n") << "n" << true << str << QByteArray("a\\nb") << 0;
    QTest::newRow("hex(1) over continuation lines")
        << QByteArray("\"n\"=hex(1):41,42,\\\r\n  43,\\\r\n  44\r\n\"m\"=\"x\"\r\n") << "n" << true
        << str << QByteArray("ABCD") << 0;
    QTest::newRow("line after continuation is its own value")
        << QByteArray("\"n\"=hex(1):41,\\\r\n  42\r\n\"m\"=\"x\"\r\n") << "m" << true << str
        << QByteArray("x") << 0;
    QTest::newRow("hex(1) with terminating zero kept")
        << QByteArray("\"n\"=hex(1):41,00\r\n") << "n" << true << str << QByteArray("A\0", 2) << 0;
    QTest::newRow("dword in capitals")
        << QByteArray("\"n\"=DWORD:0000FFFF\r\n") << "n" << true << dw << QByteArray() << 0xFFFF;
    QTest::newRow("binary value is other") << QByteArray("\"n\"=hex:01,02\r\n") << "n" << true
                                           << other << QByteArray("hex:01,02") << 0;
    QTest::newRow("broken dword is other") << QByteArray("\"n\"=dword:123456789\r\n") << "n" << true
                                           << other << QByteArray("dword:123456789") << 0;
    QTest::newRow("later duplicate wins") << QByteArray("\"n\"=\"1\"\r\n\"N\"=\"2\"\r\n") << "n"
                                          << true << str << QByteArray("2") << 0;
    QTest::newRow("8-bit bytes in a plain string")
        << QByteArray("\"n\"=\"caf\xE9\"\r\n") << "n" << true << str << QByteArray("caf\xE9") << 0;
    QTest::newRow("value under an unknown section is not ours")
        << QByteArray("[-HKEY_CURRENT_USER\\K]\r\n\"n\"=\"1\"\r\n") << "n" << false << 0
        << QByteArray() << 0;
    QTest::newRow("comment is no value")
        << QByteArray(";\"n\"=\"1\"\r\n") << "n" << false << 0 << QByteArray() << 0;
    QTest::newRow("missing value")
        << QByteArray("\"m\"=\"1\"\r\n") << "n" << false << 0 << QByteArray() << 0;
}

void TestKeyStore::read()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, name);
    QFETCH(bool, found);
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);
    QFETCH(qint32, dword);

    QVERIFY(QDir().mkpath(QFileInfo(m_file).path()));
    QVERIFY(writeBytes(m_file, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\K]\r\n" + body));
    const auto value =
        KeyStore(m_file).readValue(Root::CurrentUser, QStringLiteral("software\\k"), name);
    QCOMPARE(value.has_value(), found);
    if (!found)
        return;
    QCOMPARE(int(value->type), type);
    QCOMPARE(value->bytes, bytes);
    QCOMPARE(value->dword, dword);
}

void TestKeyStore::refusedNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");

    QTest::newRow("line break in value name") << "K"
                                              << "a\r\n[HKEY_CURRENT_USER\\Evil]";
    QTest::newRow("character outside Windows-1252") << "K" << QString::fromUtf8("snow☃");
    QTest::newRow("empty part in key path") << "K\\\\L"
                                            << "n";
    QTest::newRow("line break in key path") << "K\nL"
                                            << "n";
}

void TestKeyStore::refusedNames()
{
    QFETCH(QString, path);
    QFETCH(QString, name);

    KeyStore store(m_file);
    QVERIFY_OK(store.createKey(Root::CurrentUser, QStringLiteral("K")));
    const QByteArray before = readBytes(m_file);
    const FileError created = store.createKey(Root::CurrentUser, path);
    const FileError stored = store.storeString(Root::CurrentUser, path, name, "v");
    QVERIFY(!stored.ok());
    QVERIFY(!stored.text().isEmpty());
    if (path == QLatin1String("K"))
        QVERIFY(created.ok());
    else
        QVERIFY(!created.ok());
    QCOMPARE(readBytes(m_file), before);
}

void TestKeyStore::unwritableFile_data()
{
    QTest::addColumn<bool>("targetIsFolder");
    QTest::newRow("target is a folder") << true;
    QTest::newRow("parent is a file") << false;
}

void TestKeyStore::unwritableFile()
{
    QFETCH(bool, targetIsFolder);

    const QString parent = QFileInfo(m_file).path();
    if (targetIsFolder)
        QVERIFY(QDir().mkpath(m_file));
    else
        QVERIFY(writeBytes(parent, "plain file"));
    KeyStore store(m_file);
    const FileError r = store.createKey(Root::CurrentUser, QStringLiteral("K"));
    QVERIFY(!r.ok());
    QVERIFY2(r.text().contains(QLatin1String("registry.reg")) ||
                 r.text().contains(QLatin1String("sub")),
             qPrintable(r.text()));
    QVERIFY(!store.keyExists(Root::CurrentUser, QStringLiteral("K")));
    if (!targetIsFolder)
        QCOMPARE(readBytes(parent), QByteArray("plain file"));
}

void TestKeyStore::utf16ExportNotTouched()
{
    QVERIFY(QDir().mkpath(QFileInfo(m_file).path()));
    const QByteArray before("\xFF\xFEW\0i\0n\0", 8);
    QVERIFY(writeBytes(m_file, before));
    const FileError r = KeyStore(m_file).createKey(Root::CurrentUser, QStringLiteral("K"));
    QVERIFY(!r.ok());
    QVERIFY(!r.text().isEmpty());
    QCOMPARE(readBytes(m_file), before);
}

void TestKeyStore::concurrentWritersLoseNothing()
{
    constexpr int kPerThread = 60;
    QVERIFY_OK(KeyStore(m_file).createKey(Root::CurrentUser, QStringLiteral("K")));
    // Each thread has its own store object and hence its own lock object, as two
    // programs would.
    auto writer = [this](const QString &prefix) {
        return QThread::create([this, prefix] {
            KeyStore store(m_file);
            for (int i = 0; i < kPerThread; ++i) {
                const QString name = prefix + QString::number(i);
                // A failed write shows below as a missing value.
                if (i % 2)
                    (void)store.storeDword(Root::CurrentUser, QStringLiteral("K"), name, i);
                else
                    (void)store.storeString(Root::CurrentUser, QStringLiteral("K"), name,
                                            QByteArray::number(i));
            }
        });
    };
    std::unique_ptr<QThread> a(writer(QStringLiteral("a")));
    std::unique_ptr<QThread> b(writer(QStringLiteral("b")));
    a->start();
    b->start();
    QVERIFY(a->wait(120000));
    QVERIFY(b->wait(120000));

    const KeyStore store(m_file);
    for (const QString &prefix : {QStringLiteral("a"), QStringLiteral("b")}) {
        for (int i = 0; i < kPerThread; ++i) {
            const auto value = store.readValue(Root::CurrentUser, QStringLiteral("K"),
                                               prefix + QString::number(i));
            QVERIFY2(value, qPrintable(prefix + QString::number(i)));
            if (i % 2)
                QCOMPARE(value->dword, i);
            else
                QCOMPARE(value->bytes, QByteArray::number(i));
        }
    }
}

QTEST_GUILESS_MAIN(TestKeyStore)
#include "tst_keystore.moc"
