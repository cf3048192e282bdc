// What a screen reader finds when it walks the two programs' windows.
#include "apppaths.h"
#include "charform.h"
#include "gamemodes.h"
#include "keystore.h"
#include "mainwindow.h"
#include "scriptedprompts.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every interface below `root`, keyed "objectName" for widgets and "parent#index"
// for the cells that have no object of their own.
QHash<QString, QAccessibleInterface *> walk(QAccessibleInterface *root)
{
    QHash<QString, QAccessibleInterface *> found;
    QList<QAccessibleInterface *> todo{root};
    while (!todo.isEmpty()) {
        QAccessibleInterface *at = todo.takeFirst();
        const QString name = at->object() ? at->object()->objectName() : QString();
        for (int i = 0; i < at->childCount(); ++i) {
            QAccessibleInterface *child = at->child(i);
            if (!child)
                continue;
            if (!child->object())
                found.insert(name + QLatin1Char('#') + QString::number(i), child);
            todo.append(child);
        }
        if (!name.isEmpty() && !found.contains(name))
            found.insert(name, at);
    }
    return found;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void partsHaveNamesAndRoles_data();
    void partsHaveNamesAndRoles();
    void panelCommandsActWhenPressed();

private:
    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    MainWindow *m_main = nullptr;
    CharForm *m_glyphbox = nullptr;
};

void TestAccessibility::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QImage picture(256, 256, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (const ModeInfo &mode : GameModes::modes()) {
        if (mode.picture) {
            const QString path = m_dir.filePath(QLatin1String(mode.picture));
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QVERIFY(picture.save(path, "BMP"));
        }
    }
    AppPaths::setProgramFolder(m_dir.path());
    m_main = new MainWindow(m_prompts);
    m_main->startUp();
    m_main->composer().clickCell(65, picture); // "A"
    m_main->show();
    m_glyphbox = new CharForm(m_prompts, KeyStore(m_dir.filePath("registry.reg")));
    m_glyphbox->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_glyphbox));
}

void TestAccessibility::cleanupTestCase()
{
    delete m_glyphbox;
    delete m_main;
}

void TestAccessibility::partsHaveNamesAndRoles_data()
{
    QTest::addColumn<bool>("glyphbox");
    QTest::addColumn<QString>("part");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value"); // for the read-only texts and the status
    const auto main = [](const char *row, const char *part, QAccessible::Role role,
                         const QString &name, const QString &value = QString()) {
        QTest::newRow(row) << false << part << int(role) << name << value;
    };
    main("grid", "CharMapBG", QAccessible::List, "Glyph grid");
    main("grid cell: number and what it adds", "CharMapBG#65", QAccessible::ListItem,
         "Glyph 66, adds A");
    main("grid cell that adds a space", "CharMapBG#32", QAccessible::ListItem,
         "Glyph 33, adds space");
    main("strip", "Picture3", QAccessible::List, "Name strip");
    main("strip slot with a glyph", "Picture3#0", QAccessible::ListItem, "Slot 1: ^7A");
    main("strip slot left blank", "Picture3#24", QAccessible::ListItem, "Slot 25: blank");
    main("raw source", "Text2", QAccessible::EditableText, "Raw Source Code", "^7A");
    main("command line", "Text3", QAccessible::EditableText, "Command Line",
         "name \"^7A^7\" //GLYPHSMITH v6.1");
    main("file menu", "Label4", QAccessible::ButtonMenu, "File");
    main("game menu", "Label8", QAccessible::ButtonMenu, "Game/Mode");
    main("copy raw source", "Label10", QAccessible::Button, "Copy Raw Source");
    main("copy command line", "Label11", QAccessible::Button, "Copy Command Line");
    main("help menu", "Label9", QAccessible::ButtonMenu, "Help");
    main("name check", "NameCheck", QAccessible::StatusBar, "Name check",
         "Quake III: 3 of 35 bytes - fine");
    const auto box = [](const char *row, const char *part, QAccessible::Role role,
                        const QString &name) {
        QTest::newRow(row) << true << part << int(role) << name << QString();
    };
    box("character grid", "Ascii1", QAccessible::List, "Characters");
    box("character: glyph and Unicode name", "Ascii1#33", QAccessible::ListItem,
        "A, U+0041 LATIN CAPITAL LETTER A");
    box("character: the acute accent", "Ascii1#148", QAccessible::ListItem,
        "\u00b4, U+00B4 ACUTE ACCENT");
    box("name field by its label", "Txtcopy", QAccessible::EditableText, "Name/Characters:");
}

void TestAccessibility::partsHaveNamesAndRoles()
{
    QFETCH(bool, glyphbox);
    QFETCH(QString, part);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QWidget *window = glyphbox ? static_cast<QWidget *>(m_glyphbox) : m_main;
    const auto parts = walk(QAccessible::queryAccessibleInterface(window));
    QAccessibleInterface *found = parts.value(part);
    QVERIFY2(found, qPrintable(part + QLatin1String(" is not in the tree")));
    QCOMPARE(found->role(), QAccessible::Role(role));
    QCOMPARE(found->text(QAccessible::Name), name);
    if (!value.isEmpty())
        QCOMPARE(found->text(QAccessible::Value), value);
    if (found->role() == QAccessible::EditableText && !glyphbox) {
        QVERIFY(found->state().readOnly);
        QCOMPARE(found->textInterface()->text(0, found->textInterface()->characterCount()), value);
    }
    if (found->role() == QAccessible::ListItem)
        QVERIFY(found->parent()->rect().contains(found->rect()));
}

void TestAccessibility::panelCommandsActWhenPressed()
{
    QAccessibleInterface *copy = QAccessible::queryAccessibleInterface(
        m_main->findChild<QWidget *>(QStringLiteral("Label10")));
    QVERIFY(copy && copy->actionInterface());
    QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
    copy->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("^7A"));
    QCOMPARE(
        copy->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
        QStringList{QStringLiteral("Alt+R")});
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
