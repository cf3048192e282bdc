#pragma once

#include "configureform.h"

#include <QWidget>
#include <memory>

class Prompts;
class QCheckBox;
class QLineEdit;

// The Configure window ("Form2"): the Quake III and the Quake game folders, and
// whether the games' own fonts are shown. It is not modal and deletes itself when
// closed. Save... writes all three and Cancel writes nothing; both then close it and
// ask for a fresh main window. Closing it any other way (the window frame, Alt+F4,
// Escape) is Cancel. Enter presses the focused button, and Save... from a field.
class ConfigureDialog : public QWidget
{
    Q_OBJECT

public:
    // The dialog asks through its own Qt prompts.
    explicit ConfigureDialog(QWidget *parent = nullptr);
    // The dialog asks through `prompts`, which must outlive it.
    explicit ConfigureDialog(Prompts &prompts, QWidget *parent = nullptr);
    ~ConfigureDialog() override;

Q_SIGNALS:
    void reopenMainWindow();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void build();
    void browse(ConfigureForm::Field field, QLineEdit *edit);
    void save();
    void cancel();

    std::unique_ptr<Prompts> m_ownPrompts;
    Prompts &m_prompts;
    ConfigureForm m_form;
    QLineEdit *m_quake3Edit = nullptr;
    QLineEdit *m_quakeEdit = nullptr;
    QCheckBox *m_gameFonts = nullptr;
    bool m_handedOver = false; // the main window has been asked for
};
