#include "appcontroller.h"
#include "firstshow.h"
#include "mainwindow.h"
#include "qtprompts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <algorithm>

namespace {

void describeOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Compose decorated player names from the glyphs of game fonts."));
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
    QApplication::setApplicationName(QStringLiteral("Glyphsmith"));
    QApplication::setApplicationVersion(QStringLiteral(GLYPH_VERSION));
    answerTextOptions(argc, argv);

    QApplication app(argc, argv);
    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(app); // refuses unknown options

    // The desktop entry's name lets Wayland compositors and task bars find the
    // icon and group the windows; the compiled-in icon serves X11 and uninstalled runs.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.kestrelworks.glyphsmith"));
    Q_INIT_RESOURCE(glyphsmithicon);
    QIcon icon;
    const QDir sizes(QStringLiteral(":/icon"));
    for (const QString &file : sizes.entryList(QDir::Files))
        icon.addFile(sizes.filePath(file));
    QApplication::setWindowIcon(icon);

    QtPrompts prompts;
    AppController controller(prompts);
    // Questions belong to whichever main window is open.
    QObject::connect(&controller, &AppController::mainWindowShown, &controller,
                     [&prompts](MainWindow *window) { prompts.setParent(window); });
    QObject::connect(
        &controller, &AppController::mainWindowShown, &controller,
        [](MainWindow *window) { FirstShow::watch(window); }, Qt::SingleShotConnection);
    controller.start();
    return QApplication::exec();
}
