// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopapp.h"

#include "fontfamilies.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QEvent>
#include <QFont>
#include <QIcon>
#include <QTimer>
#include <algorithm>

namespace {

// Sets the window icon shortly after the first window has painted: decoding the
// icon's sizes finds the image readers first, work the first picture need not
// wait for. The window manager takes the icon a moment later.
class IconAfterFirstPaint : public QObject
{
public:
    explicit IconAfterFirstPaint(QObject *parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            qApp->removeEventFilter(this);
            QTimer::singleShot(kDelayMs, this, &IconAfterFirstPaint::setIcon);
        }
        return false;
    }

private:
    static constexpr int kDelayMs = 50;

    void setIcon()
    {
        QIcon icon;
        const QDir sizes(QStringLiteral(":/icon"));
        for (const QString &file : sizes.entryList(QDir::Files))
            icon.addFile(sizes.filePath(file));
        QApplication::setWindowIcon(icon);
        deleteLater();
    }
};

void describeOptions(QCommandLineParser &parser, const DesktopApp::Identity &identity)
{
    parser.setApplicationDescription(QString::fromUtf8(identity.description));
    parser.addHelpOption();
    parser.addVersionOption();
}

} // namespace

namespace DesktopApp {

void answerTextOptions(int &argc, char **argv, const Identity &identity)
{
    QCoreApplication::setApplicationName(QString::fromUtf8(identity.name));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPH_VERSION));
    const auto asksForText = [](const QByteArray &arg) {
        return arg == "-h" || arg == "--help" || arg == "-?" || arg == "-v" || arg == "--version";
    };
    if (std::none_of(argv + 1, argv + argc, asksForText))
        return;
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    describeOptions(parser, identity);
    if (!parser.parse(QCoreApplication::arguments()))
        return;
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp();
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
}

void setUp(QApplication &app, const Identity &identity, std::optional<QFont> font)
{
    QCommandLineParser parser;
    describeOptions(parser, identity);
    parser.process(app);

    // The desktop entry's name lets Wayland compositors and task bars find the
    // icon and group the windows; the compiled-in icon serves X11 and uninstalled runs.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(identity.desktopFile));
    app.installEventFilter(new IconAfterFirstPaint(&app));

    if (!font) {
        font = QApplication::font();
        font->setFamily(FontFamilies::systemFamily());
    }
    QApplication::setFont(*font);
}

} // namespace DesktopApp
