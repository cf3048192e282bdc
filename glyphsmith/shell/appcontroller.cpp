#include "appcontroller.h"

#include "configuredialog.h"
#include "mainwindow.h"
#include "startup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

AppController::AppController(Prompts &prompts, QObject *parent)
    : QObject(parent), m_prompts(prompts)
{}

AppController::~AppController()
{
    delete m_main;
    delete m_configure;
}

MainWindow *AppController::mainWindow() const
{
    return m_main;
}

ConfigureDialog *AppController::configureDialog() const
{
    return m_configure;
}

void AppController::start()
{
    openMainWindow();
}

void AppController::openMainWindow()
{
    auto *window = new MainWindow(m_prompts);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &MainWindow::configureRequested, this, &AppController::openConfigure);
    connect(window, &MainWindow::quitRequested, qApp, &QCoreApplication::quit);
    window->startUp();

    if (StartUp::firstRunCheck(m_prompts)) {
        // The window was never shown; it makes way for the Configure window at once.
        delete window;
        openConfigure();
        return;
    }

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->geometry().center() - window->rect().center());
    m_main = window;
    window->show();
    Q_EMIT mainWindowShown(window);
}

void AppController::openConfigure()
{
    if (!m_configure) {
        m_configure = new ConfigureDialog(m_prompts);
        connect(m_configure, &ConfigureDialog::reopenMainWindow, this,
                &AppController::openMainWindow);
    }
    // In the main window's place; the first run has none, and keeps the screen's middle.
    if (m_main)
        m_configure->move(m_main->geometry().center() - m_configure->rect().center());
    // Shown before the main window closes, so the program never runs out of windows.
    m_configure->show();
    m_configure->raise();
    if (m_main)
        m_main->close();
}
