// SPDX-License-Identifier: GPL-3.0-or-later
#include "fontlist.h"

#include <QTest>

class TestFontList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plainFamilies_data();
    void plainFamilies();
    void startIndex_data();
    void startIndex();
};

void TestFontList::plainFamilies_data()
{
    QTest::addColumn<QStringList>("families"); // as QFontDatabase::families() gives them
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("one entry for the foundries of a family")
        << QStringList{"C059 [UKWN]", "C059 [urw]", "DejaVu Sans"}
        << QStringList{"C059", "DejaVu Sans"};
    QTest::newRow("a family whose name goes on is another family")
        << QStringList{"Nimbus Sans [URW ]", "Nimbus Sans [urw]", "Nimbus Sans Narrow [urw]"}
        << QStringList{"Nimbus Sans", "Nimbus Sans Narrow"};
    QTest::newRow("sorted without regard to case")
        << QStringList{"droid", "Bench Family 0002", "bench family 0001", "Z003"}
        << QStringList{"bench family 0001", "Bench Family 0002", "droid", "Z003"};
    QTest::newRow("names that differ in case only are one family")
        << QStringList{"Symbola", "symbola [UKWN]"} << QStringList{"Symbola"};
    QTest::newRow("none") << QStringList() << QStringList();
}

void TestFontList::plainFamilies()
{
    QFETCH(QStringList, families);
    QFETCH(QStringList, listed);
    QCOMPARE(FontList::plainFamilies(families), listed);
}

void TestFontList::startIndex_data()
{
    QTest::addColumn<QString>("preferred");
    QTest::addColumn<int>("index");

    QTest::newRow("the preferred family") << "DejaVu Sans" << 2;
    QTest::newRow("in another case") << "dejavu sans" << 2;
    QTest::newRow("not in the list: the first entry") << "Sans Serif" << 0;
}

void TestFontList::startIndex()
{
    QFETCH(QString, preferred);
    QFETCH(int, index);
    QCOMPARE(FontList::startIndex(
                 {"C059", "DejaVu Math TeX Gyre", "DejaVu Sans", "DejaVu Sans Mono"}, preferred),
             index);
    QCOMPARE(FontList::startIndex({}, preferred), -1);
}

QTEST_GUILESS_MAIN(TestFontList)
#include "tst_fontlist.moc"
