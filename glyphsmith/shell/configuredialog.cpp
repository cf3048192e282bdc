#include "configuredialog.h"

#include "apppaths.h"
#include "captionfit.h"
#include "framebox.h"
#include "qtprompts.h"
#include "twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

QPushButton *button(const char *name, const QString &text, QRect geometry, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    // Enter presses the focused button, as in any dialog.
    b->setAutoDefault(true);
    return b;
}

} // namespace

ConfigureDialog::ConfigureDialog(QWidget *parent)
    : QWidget(parent), m_ownPrompts(std::make_unique<QtPrompts>(this)), m_prompts(*m_ownPrompts)
{
    build();
}

ConfigureDialog::ConfigureDialog(Prompts &prompts, QWidget *parent)
    : QWidget(parent), m_prompts(prompts)
{
    build();
}

ConfigureDialog::~ConfigureDialog() = default;

void ConfigureDialog::build()
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Configure"));
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    // One row taller than drawn: the games' own fonts have their check box above
    // the buttons.
    setFixedSize(twips(0, 0, 6495, 2415).size());
    // The layout was drawn for a face of 11 pixels; larger ones cut the note short.
    setFont(CaptionFit::designFont());

    auto *frame1 = new FrameBox(QStringLiteral("Path to Quake3/baseq3 Folder "), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(twips(120, 0, 6132, 612));
    m_quake3Edit = new QLineEdit(frame1);
    m_quake3Edit->setObjectName(QStringLiteral("Text1"));
    m_quake3Edit->setGeometry(twips(120, 240, 4812, 288));
    auto *browse3 =
        button("Command1", QStringLiteral("Browse..."), twips(5040, 240, 972, 252), frame1);

    auto *frame2 = new FrameBox(QStringLiteral("Path to Quake/Id1 Folder"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setGeometry(twips(120, 720, 6132, 612));
    m_quakeEdit = new QLineEdit(frame2);
    m_quakeEdit->setObjectName(QStringLiteral("Text2"));
    m_quakeEdit->setGeometry(twips(120, 240, 4812, 288));
    auto *browse1 =
        button("Command4", QStringLiteral("Browse..."), twips(5040, 240, 972, 252), frame2);

    auto *note = new QLabel(
        QStringLiteral("NOTE: If you don't have one of these games, just leave that field blank."),
        this);
    note->setObjectName(QStringLiteral("Label1"));
    note->setGeometry(twips(120, 1440, 6135, 255));

    m_gameFonts =
        new QCheckBox(QStringLiteral("Use the game's own font when the game folder has one"), this);
    m_gameFonts->setObjectName(QStringLiteral("GameFonts"));
    m_gameFonts->setGeometry(twips(120, 1710, 6135, 255));

    auto *saveButton =
        button("Command2", QStringLiteral("Save..."), twips(4320, 2040, 972, 252), this);
    auto *cancelButton =
        button("Command3", QStringLiteral("Cancel"), twips(5400, 2040, 972, 252), this);

    QList<CaptionFit::Caption> captions{{note->text(), note->width(), note->height()}};
    for (const FrameBox *f : {frame1, frame2})
        captions.append({f->title(), f->width() - 16, 0});
    setFont(CaptionFit::fit(font(), captions));

    m_form.load();
    m_quake3Edit->setText(m_form.text(ConfigureForm::Field::Quake3Folder));
    m_quakeEdit->setText(m_form.text(ConfigureForm::Field::QuakeFolder));
    m_gameFonts->setChecked(m_form.gameFonts());

    connect(browse3, &QPushButton::clicked, this,
            [this] { browse(ConfigureForm::Field::Quake3Folder, m_quake3Edit); });
    connect(browse1, &QPushButton::clicked, this,
            [this] { browse(ConfigureForm::Field::QuakeFolder, m_quakeEdit); });
    connect(saveButton, &QPushButton::clicked, this, &ConfigureDialog::save);
    connect(cancelButton, &QPushButton::clicked, this, &ConfigureDialog::cancel);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void ConfigureDialog::browse(ConfigureForm::Field field, QLineEdit *edit)
{
    m_form.browse(field, m_prompts);
    edit->setText(m_form.text(field));
}

void ConfigureDialog::save()
{
    m_form.setText(ConfigureForm::Field::Quake3Folder, m_quake3Edit->text());
    m_form.setText(ConfigureForm::Field::QuakeFolder, m_quakeEdit->text());
    m_form.setGameFonts(m_gameFonts->isChecked());
    if (!m_form.save().ok()) {
        // Closing now would lose what the user typed without a word.
        m_prompts.message(
            QStringLiteral("The settings could not be saved to %1.").arg(AppPaths::settingsFile()),
            QStringLiteral("Glyphsmith"));
        return;
    }
    m_handedOver = true;
    Q_EMIT reopenMainWindow();
    close();
}

void ConfigureDialog::cancel()
{
    m_handedOver = true;
    Q_EMIT reopenMainWindow();
    close();
}

void ConfigureDialog::closeEvent(QCloseEvent *event)
{
    // The main window made way for this one: leaving it by the frame must not leave
    // the user with no window, or end the program on the first run.
    if (!m_handedOver) {
        m_handedOver = true;
        Q_EMIT reopenMainWindow();
    }
    QWidget::closeEvent(event);
}

void ConfigureDialog::keyPressEvent(QKeyEvent *event)
{
    // The buttons take Enter themselves; what reaches here comes from a field or the
    // check box, which have no use for it.
    switch (event->key()) {
    case Qt::Key_Escape:
        cancel();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        save();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}
