#include "fileerrortest.h"
#include "icqsave.h"
#include "keystore.h"
#include "scriptedprompts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestIcqSave : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void save_data();
    void save();
    void promptWording();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<KeyStore> m_store;
};

static const QString kAccount = QStringLiteral("Software\\Mirabilis\\ICQ\\Owners\\123456");

void TestIcqSave::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_store = std::make_unique<KeyStore>(m_dir->filePath(QStringLiteral("registry.reg")));
    QVERIFY_OK(m_store->createKey(KeyStore::Root::CurrentUser, kAccount));
}

void TestIcqSave::save_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QByteArray>("stored");  // null: no value written
    QTest::addColumn<QString>("messageHas"); // empty: no message shown

    const auto saved = int(IcqSave::Outcome::Saved);
    const auto cancelled = int(IcqSave::Outcome::Cancelled);
    const auto refused = int(IcqSave::Outcome::Refused);
    const std::optional<QString> account(QStringLiteral("123456"));

    QTest::newRow("three letters, three bytes")
        << account << QStringLiteral("abc") << saved << QByteArray("abc") << QString();
    QTest::newRow("high characters as Windows-1252 bytes")
        << account << QStringLiteral("\u00e9\u20ac") << saved << QByteArray("\xe9\x80")
        << QString();
    QTest::newRow("characters Windows-1252 lacks become ?")
        << account << QStringLiteral("a\u4e2db") << saved << QByteArray("a?b") << QString();
    QTest::newRow("empty name, empty value")
        << account << QString() << saved << QByteArray("") << QString();
    QTest::newRow("no key for the number")
        << std::optional<QString>(QStringLiteral("999")) << QStringLiteral("abc") << refused
        << QByteArray() << QStringLiteral("Nothing was saved.");
    QTest::newRow("cancel") << std::optional<QString>() << QStringLiteral("abc") << cancelled
                            << QByteArray() << QString();
    QTest::newRow("empty answer") << std::optional<QString>(QString()) << QStringLiteral("abc")
                                  << cancelled << QByteArray() << QString();
    QTest::newRow("a path instead of a number")
        << std::optional<QString>(QStringLiteral("123456\\..")) << QStringLiteral("abc") << refused
        << QByteArray() << QStringLiteral("not an ICQ number");
}

void TestIcqSave::save()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, name);
    QFETCH(int, outcome);
    QFETCH(QByteArray, stored);
    QFETCH(QString, messageHas);

    ScriptedPrompts prompts;
    prompts.inputAnswers.push_back(answer);
    const QByteArray before = [&] {
        QFile f(m_store->filePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    QCOMPARE(int(IcqSave::save(prompts, *m_store, name)), outcome);

    const auto value =
        m_store->readValue(KeyStore::Root::CurrentUser, kAccount, QStringLiteral("custom cfg"));
    QCOMPARE(value.has_value(), !stored.isNull());
    if (value) {
        QCOMPARE(int(value->type), int(KeyStore::Value::Type::String));
        QCOMPARE(value->bytes, stored);
    } else {
        QFile f(m_store->filePath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    if (messageHas.isEmpty()) {
        QVERIFY(prompts.messages().isEmpty());
    } else {
        QCOMPARE(prompts.messages().size(), 1);
        QVERIFY2(prompts.messages().first().contains(messageHas),
                 qPrintable(prompts.messages().first()));
        QCOMPARE(prompts.asked.last().title, QStringLiteral("Glyphbox"));
    }
}

void TestIcqSave::promptWording()
{
    ScriptedPrompts prompts;
    IcqSave::save(prompts, *m_store, QStringLiteral("abc"));
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked.first().kind, ScriptedPrompts::Kind::Input);
    QCOMPARE(prompts.asked.first().text,
             QStringLiteral("Please enter the ICQ number to save this name to."));
    QCOMPARE(prompts.asked.first().title, QStringLiteral("ICQ Number to Save to:"));
}

QTEST_GUILESS_MAIN(TestIcqSave)
#include "tst_icqsave.moc"
