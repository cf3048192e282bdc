// SPDX-License-Identifier: GPL-3.0-or-later
#include "fontfamilies.h"

#include <QGuiApplication>
#include <QTest>

// The shared font choice, tested here because this folder's tests link the widget
// half of common.
class TestFontFamilies : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstInstalled_data();
    void firstInstalled();
};

void TestFontFamilies::firstInstalled_data()
{
    QTest::addColumn<QStringList>("wanted");
    QTest::addColumn<QString>("chosen"); // empty: the system family

    QTest::newRow("first wanted that is installed")
        << QStringList{"Arial", "Nimbus Sans", "DejaVu Sans"} << "Nimbus Sans";
    QTest::newRow("listed with a foundry tag") << QStringList{"C059"} << "C059";
    QTest::newRow("in another case") << QStringList{"dejavu sans"} << "dejavu sans";
    QTest::newRow("a longer name is not the family")
        << QStringList{"Nimbus", "DejaVu Sans"} << "DejaVu Sans";
    QTest::newRow("none installed") << QStringList{"Arial", "Helvetica"} << QString();
}

void TestFontFamilies::firstInstalled()
{
    QFETCH(QStringList, wanted);
    QFETCH(QString, chosen);
    const QStringList installed{"C059 [UKWN]", "C059 [urw]", "DejaVu Sans", "Nimbus Sans [urw]",
                                "Nimbus Sans Narrow [urw]"};
    QCOMPARE(FontFamilies::firstInstalled(wanted, installed),
             chosen.isEmpty() ? FontFamilies::systemFamily() : chosen);
}

QTEST_MAIN(TestFontFamilies)
#include "tst_fontfamilies.moc"
