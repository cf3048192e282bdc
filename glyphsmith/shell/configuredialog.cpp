#include "configuredialog.h"

#include "apppaths.h"
#include "qtprompts.h"

#include <QFont>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

// The layout is drawn in twips, 15 to the pixel.
int px(int twips)
{
    return (twips + 7) / 15;
}

QRect twips(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

QPushButton *button(const char *name, const QString &text, QRect geometry, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
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
    setFixedSize(twips(0, 0, 6495, 2055).size());
    // The layout was drawn for an 8-point face; larger ones cut the note short.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    auto *frame1 = new QGroupBox(QStringLiteral("Path to Quake3/baseq3 Folder "), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(twips(120, 0, 6132, 612));
    m_quake3Edit = new QLineEdit(frame1);
    m_quake3Edit->setObjectName(QStringLiteral("Text1"));
    m_quake3Edit->setGeometry(twips(120, 240, 4812, 288));
    auto *browse3 =
        button("Command1", QStringLiteral("Browse..."), twips(5040, 240, 972, 252), frame1);

    auto *frame2 = new QGroupBox(QStringLiteral("Path to Quake/Id1 Folder"), this);
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

    auto *saveButton =
        button("Command2", QStringLiteral("Save..."), twips(4320, 1680, 972, 252), this);
    auto *cancelButton =
        button("Command3", QStringLiteral("Cancel"), twips(5400, 1680, 972, 252), this);

    m_form.load();
    m_quake3Edit->setText(m_form.text(ConfigureForm::Field::Quake3Folder));
    m_quakeEdit->setText(m_form.text(ConfigureForm::Field::QuakeFolder));

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
    if (!m_form.save().ok()) {
        // Closing now would lose what the user typed without a word.
        m_prompts.message(
            QStringLiteral("The settings could not be saved to %1.").arg(AppPaths::settingsFile()),
            QStringLiteral("Glyphsmith"));
        return;
    }
    Q_EMIT reopenMainWindow();
    close();
}

void ConfigureDialog::cancel()
{
    Q_EMIT reopenMainWindow();
    close();
}
