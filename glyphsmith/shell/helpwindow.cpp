#include "helpwindow.h"

#include "apppaths.h"

#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <QtMath>

namespace {

QPointer<HelpWindow> &openWindow()
{
    static QPointer<HelpWindow> window;
    return window;
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), m_viewer(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Hint/Tips"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_viewer->setObjectName(QStringLiteral("WebBrowser1"));
    // Web addresses on the page belong in the user's browser; page-internal
    // anchors and local pages stay in the viewer.
    m_viewer->setOpenExternalLinks(true);

    // The viewer used to be sized by hand to the outer window size less the frame;
    // a margin-free layout gives the same result on every platform's frame.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_viewer);

    for (const QKeySequence &keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);

    loadPage();
    resize(fittingSize());
}

QSize HelpWindow::fittingSize() const
{
    // Wide enough for the page's widest picture or line, so nothing needs a
    // sideways scroll; as tall as a comfortable read, within the screen.
    QTextDocument *page = m_viewer->document();
    page->setTextWidth(-1);
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_viewer);
    const int width = qCeil(page->idealWidth()) + 2 * m_viewer->frameWidth() + scrollBar + 2;
    QSize size(width, 560);
    if (const QScreen *s = screen()) {
        const QSize room = s->availableSize() * 9 / 10;
        size = size.boundedTo(room);
    }
    return size.expandedTo(QSize(427, 226));
}

HelpWindow *HelpWindow::showInstance(const QWidget *over)
{
    QPointer<HelpWindow> &window = openWindow();
    // No parent: the window outlives a main window that the Configure dialog replaces.
    if (!window) {
        window = new HelpWindow;
        if (over) {
            QRect placed = window->rect();
            placed.moveCenter(over->geometry().center());
            // A tall page on a main window near the screen's edge still opens whole.
            if (const QScreen *s = over->screen()) {
                const QRect room = s->availableGeometry();
                placed.moveLeft(qBound(room.left(), placed.left(), room.right() - placed.width()));
                placed.moveTop(qBound(room.top(), placed.top(), room.bottom() - placed.height()));
            }
            window->move(placed.topLeft());
        }
    }
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QString HelpWindow::pagePath()
{
    return AppPaths::dataFile(pageName());
}

void HelpWindow::loadPage()
{
    const QString path = pagePath();
    const QFileInfo page(path);
    if (page.isFile() && page.isReadable()) {
        m_viewer->setSource(QUrl::fromLocalFile(path));
        return;
    }
    m_viewer->setHtml(
        QStringLiteral("<html><body><h2>Page not found</h2>"
                       "<p>The help page <b>%1</b> could not be found or read.</p>"
                       "<p>Glyphsmith looked for it here:<br><tt>%2</tt></p>"
                       "<p>It is installed beside the program; reinstalling Glyphsmith "
                       "brings it back.</p></body></html>")
            .arg(pageName(), path.toHtmlEscaped()));
}
