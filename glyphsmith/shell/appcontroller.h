#pragma once

#include <QObject>
#include <QPointer>

class ConfigureDialog;
class MainWindow;
class Prompts;

// The program's window lifecycle. At most one main window is open; each one is new,
// with a fresh name and the Quake III mode. The first-run check, and File >
// Configure, put the Configure window in the main window's place (centred where it
// stood); its Save... or Cancel, or closing it, opens a fresh main window. `prompts`
// must outlive the controller.
class AppController : public QObject
{
    Q_OBJECT

public:
    explicit AppController(Prompts &prompts, QObject *parent = nullptr);
    ~AppController() override;

    // Opens the first window: the main window, or on a first run the Configure window.
    void start();

    MainWindow *mainWindow() const;           // null while none is open
    ConfigureDialog *configureDialog() const; // null while none is open

Q_SIGNALS:
    void mainWindowShown(MainWindow *window);

private:
    void openMainWindow();
    void openConfigure();

    Prompts &m_prompts;
    QPointer<MainWindow> m_main;
    QPointer<ConfigureDialog> m_configure;
};
