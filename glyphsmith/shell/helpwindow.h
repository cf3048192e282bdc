#pragma once

#include <QWidget>

class QTextBrowser;

// "Hint/Tips" (Form3): a sizable, non-modal window whose viewer (WebBrowser1)
// fills the client area and shows glyph-help.html from the program folder, or a
// page naming the missing file. Escape and Ctrl+W close it; closing it deletes it.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the one help window, creating and loading it when none is open (then
    // centred on `over`, when given), and brings it to the front.
    static HelpWindow *showInstance(const QWidget *over = nullptr);

    static QString pageName() { return QStringLiteral("glyph-help.html"); }
    // The page's full path: AppPaths::programFolder() + "/glyph-help.html".
    static QString pagePath();

    QTextBrowser *viewer() const { return m_viewer; }

private:
    void loadPage();
    QSize fittingSize() const;

    QTextBrowser *m_viewer;
};
