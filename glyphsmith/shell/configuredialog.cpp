#include "configuredialog.h"

#include "apppaths.h"
#include "captionfit.h"
#include "framebox.h"
#include "gamefamilies.h"
#include "installfinder.h"
#include "qtprompts.h"
#include "twips.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

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

QLabel *label(const QString &text, QRect geometry, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

// Where a found game's line sits in its frame, in both of its forms.
QRect foundGeometry(int top)
{
    return twips(1500, top, 4512, 288);
}

} // namespace

ConfigureDialog::ConfigureDialog(QWidget *parent)
    : QWidget(parent), m_ownPrompts(std::make_unique<QtPrompts>(this)), m_prompts(*m_ownPrompts),
      m_places(InstallPlaces::fromEnvironment())
{
    build();
}

ConfigureDialog::ConfigureDialog(Prompts &prompts, QWidget *parent)
    : ConfigureDialog(prompts, InstallPlaces::fromEnvironment(), parent)
{}

ConfigureDialog::ConfigureDialog(Prompts &prompts, const InstallPlaces &places, QWidget *parent)
    : QWidget(parent), m_prompts(prompts), m_places(places)
{
    build();
}

ConfigureDialog::~ConfigureDialog()
{
    // The finder reads only folder entries; it is done soon, and must not outlive us.
    if (m_finder)
        m_finder->wait();
}

void ConfigureDialog::build()
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Configure"));
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    // One row taller than drawn: the games' own fonts have their check box above
    // the buttons; and the games found below them.
    setFixedSize(twips(0, 0, 6495, 4215).size());
    // The layout was drawn for a face of 11 pixels; larger ones cut the note short.
    setFont(CaptionFit::designFont());

    auto *frame1 = new FrameBox(QStringLiteral("Path to Quake3/baseq3 Folder "), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(twips(120, 0, 6132, 612));
    m_quake3.edit = new QLineEdit(frame1);
    m_quake3.edit->setObjectName(QStringLiteral("Text1"));
    m_quake3.edit->setGeometry(twips(120, 240, 4812, 288));
    auto *browse3 =
        button("Command1", QStringLiteral("Browse..."), twips(5040, 240, 972, 252), frame1);

    auto *frame2 = new FrameBox(QStringLiteral("Path to Quake/Id1 Folder"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setGeometry(twips(120, 720, 6132, 612));
    m_quake.edit = new QLineEdit(frame2);
    m_quake.edit->setObjectName(QStringLiteral("Text2"));
    m_quake.edit->setGeometry(twips(120, 240, 4812, 288));
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

    auto *frame3 = new FrameBox(QStringLiteral("Installed games found"), this);
    frame3->setObjectName(QStringLiteral("FoundGames"));
    frame3->setGeometry(twips(120, 2400, 6132, 1680));
    QList<QLabel *> labels{note};
    m_quake3.foundName = "q3Found";
    m_quake.foundName = "q1Found";
    m_quake3.before = cancelButton;
    int top = 240;
    for (Row *row : {&m_quake3, &m_quake}) {
        const bool quake3 = row == &m_quake3;
        labels << label(quake3 ? QStringLiteral("Quake III:") : QStringLiteral("Quake:"),
                        twips(120, top + 30, 1320, 255), frame3);
        row->found = new QLineEdit(frame3);
        row->found->setObjectName(QLatin1String(row->foundName));
        row->found->setGeometry(foundGeometry(top));
        labels << label(QStringLiteral("Check names for:"), twips(120, top + 345, 1320, 255),
                        frame3);
        row->target = new QComboBox(frame3);
        row->target->setObjectName(quake3 ? QStringLiteral("q3Target")
                                          : QStringLiteral("q1Target"));
        row->target->setGeometry(twips(1500, top + 315, 4512, 300));
        if (quake3)
            m_quake.before = row->target;
        top += 690;
    }

    QList<CaptionFit::Caption> captions;
    for (const QLabel *l : labels)
        captions.append({l->text(), l->width(), l->height()});
    for (const FrameBox *f : {frame1, frame2, frame3})
        captions.append({f->title(), f->width() - 16, 0});
    setFont(CaptionFit::fit(font(), captions));

    m_form.load();
    m_gameFonts->setChecked(m_form.gameFonts());
    for (Row *row : {&m_quake3, &m_quake}) {
        row->edit->setText(m_form.text(row->field));
        connect(row->edit, &QLineEdit::textChanged, this, [this, row](const QString &text) {
            m_form.setText(row->field, text);
            showRow(*row);
        });
        connect(row->target, &QComboBox::activated, this, [this, row](int index) {
            m_form.setTarget(row->field, row->target->itemData(index).toByteArray());
        });
        showRow(*row);
    }

    connect(browse3, &QPushButton::clicked, this, [this] { browse(m_quake3); });
    connect(browse1, &QPushButton::clicked, this, [this] { browse(m_quake); });
    connect(saveButton, &QPushButton::clicked, this, &ConfigureDialog::save);
    connect(cancelButton, &QPushButton::clicked, this, &ConfigureDialog::cancel);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void ConfigureDialog::browse(Row &row)
{
    m_form.browse(row.field, m_prompts);
    row.edit->setText(m_form.text(row.field));
}

void ConfigureDialog::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // After the first paint, so that the window opens at once.
    if (!m_finder)
        QTimer::singleShot(0, this, &ConfigureDialog::findInstallations);
}

void ConfigureDialog::findInstallations()
{
    if (m_finder)
        return;
    auto found = std::make_shared<QList<Installation>>();
    m_finder.reset(
        QThread::create([found, places = m_places] { *found = InstallFinder::find(places); }));
    connect(m_finder.get(), &QThread::finished, this, [this, found] {
        m_form.setFound(*found);
        for (Row *row : {&m_quake3, &m_quake}) {
            // An empty field may have been given the one game found for it.
            if (row->edit->text() != m_form.text(row->field)) {
                const QSignalBlocker blocker(row->edit);
                row->edit->setText(m_form.text(row->field));
            }
            showRow(*row);
        }
    });
    m_finder->start();
}

void ConfigureDialog::showRow(Row &row)
{
    const bool choice = m_form.hasChoice(row.field);
    if (choice != bool(qobject_cast<QComboBox *>(row.found))) {
        // Replaced, not reused: a read-only line and a choice are different controls.
        // Later, as this may run in the old one's own signal.
        const QRect geometry = row.found->geometry();
        row.found->setObjectName(QString());
        row.found->hide();
        row.found->deleteLater();
        if (choice) {
            auto *combo = new QComboBox(row.found->parentWidget());
            connect(combo, &QComboBox::activated, this, [this, &row](int index) {
                m_form.choose(row.field, index);
                row.edit->setText(m_form.text(row.field));
                showRow(row);
            });
            row.found = combo;
        } else {
            row.found = new QLineEdit(row.found->parentWidget());
        }
        row.found->setObjectName(QLatin1String(row.foundName));
        row.found->setGeometry(geometry);
        row.found->show();
        QWidget::setTabOrder(row.before, row.found);
        QWidget::setTabOrder(row.found, row.target);
    }

    const QString home = m_places.home;
    if (auto *combo = qobject_cast<QComboBox *>(row.found)) {
        const QSignalBlocker blocker(combo);
        combo->clear();
        combo->addItems(m_form.choices(row.field, home));
        combo->setCurrentIndex(m_form.chosen(row.field));
        // The lines are longer than the window is wide: the list shows them whole.
        combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 8);
        combo->setToolTip(combo->currentText());
    } else if (auto *line = qobject_cast<QLineEdit *>(row.found)) {
        line->setReadOnly(true);
        QPalette looks = line->palette();
        looks.setColor(QPalette::Base, looks.color(QPalette::Window));
        line->setPalette(looks);
        line->setText(m_form.status(row.field, home));
        line->setCursorPosition(0);
        line->setToolTip(line->text());
    }

    const QSignalBlocker blocker(row.target);
    row.target->clear();
    for (const GameTarget &target : m_form.targets(row.field)) {
        row.target->addItem(QString::fromUtf8(target.rules->name), QByteArray(target.key));
        if (m_form.target(row.field) == target.key)
            row.target->setCurrentIndex(row.target->count() - 1);
    }
    // Shown, not offered, when the installation plays one of them.
    row.target->setEnabled(m_form.targetChoosable(row.field));
}

void ConfigureDialog::save()
{
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
