#include "qtprompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

// Our texts break lines with a lone carriage return; Qt's boxes want '\n'.
QString shown(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Gives the keyboard focus back to the widget that had it when a dialog opened, once
// the dialog has closed: the window manager reactivates the window, but not always
// the widget, and arrow keys and Enter should go on doing what they did.
class FocusReturn
{
public:
    FocusReturn() : m_widget(QApplication::focusWidget()) {}
    ~FocusReturn()
    {
        if (!m_widget || !m_widget->isVisible())
            return;
        m_widget->activateWindow();
        m_widget->setFocus(Qt::ActiveWindowFocusReason);
    }
    FocusReturn(const FocusReturn &) = delete;
    FocusReturn &operator=(const FocusReturn &) = delete;

private:
    QPointer<QWidget> m_widget;
};

} // namespace

void QtPrompts::message(const QString &text, const QString &title)
{
    const FocusReturn focus;
    QMessageBox box(QMessageBox::NoIcon, title, shown(text), QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtPrompts::askYesNo(const QString &text, const QString &title, bool defaultYes)
{
    const FocusReturn focus;
    QMessageBox box(QMessageBox::Question, title, shown(text), QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::input(const QString &prompt, const QString &title,
                                        const QString &defaultText)
{
    const FocusReturn focus;
    bool ok = false;
    const QString answer =
        QInputDialog::getText(m_parent, title, shown(prompt), QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

QString QtPrompts::openFile(const FileRequest &request)
{
    const FocusReturn focus;
    QFileDialog dialog(m_parent, request.title, request.startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

Prompts::SaveAnswer QtPrompts::saveFile(const FileRequest &request)
{
    const FocusReturn focus;
    QFileDialog dialog(m_parent, request.title, request.startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // A name typed without a suffix takes the chosen kind's: "*.png" gives "png".
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &f) {
        static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
        const QRegularExpressionMatch match = pattern.match(f);
        if (match.hasMatch())
            dialog.setDefaultSuffix(match.captured(1).toLower());
    });
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(),
            int(qMax(0, request.filters.indexOf(dialog.selectedNameFilter())))};
}

QString QtPrompts::pickFolder(const QString &title)
{
    const FocusReturn focus;
    // Local files only: a folder without a file-system path yields the empty text.
    const QUrl url = QFileDialog::getExistingDirectoryUrl(
        m_parent, title, QUrl(), QFileDialog::ShowDirsOnly, {QStringLiteral("file")});
    if (!url.isLocalFile())
        return {};
    return url.toLocalFile();
}
