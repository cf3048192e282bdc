#include "charform.h"
#include "firstshow.h"
#include "keystore.h"
#include "qtprompts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <algorithm>

namespace {

void describeOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Character map: the characters 32 to 255 of any installed font, and how to type them."));
    parser.addHelpOption();
    parser.addVersionOption();
}

// --help and --version print text only, so they must work without a display:
// they are answered before the window system is opened. Qt's own options
// (-platform, -style, ...) are known only to QApplication, so a command line that
// holds them is left to the full parse.
void answerTextOptions(int &argc, char **argv)
{
    const auto asksForText = [](const QByteArray &arg) {
        return arg == "-h" || arg == "--help" || arg == "-?" || arg == "-v" || arg == "--version";
    };
    if (std::none_of(argv + 1, argv + argc, asksForText))
        return;
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    describeOptions(parser);
    if (!parser.parse(QCoreApplication::arguments()))
        return;
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp();
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("Glyphbox"));
    QApplication::setApplicationVersion(QStringLiteral(GLYPH_VERSION));
    answerTextOptions(argc, argv);

    QApplication app(argc, argv);
    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(app); // refuses unknown options

    QGuiApplication::setDesktopFileName(QStringLiteral("com.kestrelworks.glyphbox"));
    Q_INIT_RESOURCE(glyphboxicon);
    QIcon icon;
    const QDir sizes(QStringLiteral(":/icon"));
    for (const QString &file : sizes.entryList(QDir::Files))
        icon.addFile(sizes.filePath(file));
    QApplication::setWindowIcon(icon);

    QtPrompts prompts;
    CharForm window(prompts, KeyStore::userStore());
    prompts.setParent(&window);
    // Shown and focused also when glyphsmith starts it and ends: a minimized
    // window vanishes on desktops without a task bar.
    window.show();
    window.raise();
    window.activateWindow();
    FirstShow::watch(&window);
    return app.exec();
}
