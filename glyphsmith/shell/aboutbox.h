#pragma once

#include "sysinfo.h"

#include <QDialog>
#include <memory>

class Prompts;

// "About Glyphsmith" (frmAbout): a fixed, non-modal box on a black panel with
// "OK" (default, also Escape) and "&System Info...". Closing it deletes it.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    // `prompts` shows the System Info failure message; null: real message boxes.
    explicit AboutBox(std::shared_ptr<Prompts> prompts = {}, SysInfo sysInfo = SysInfo(),
                      QWidget *parent = nullptr);

    // Shows the one About box, creating it when none is open, and brings it to the
    // front. The arguments are used only when a new box is created.
    static AboutBox *showInstance(std::shared_ptr<Prompts> prompts = {},
                                  SysInfo sysInfo = SysInfo());

private:
    void startSysInfo();

    std::shared_ptr<Prompts> m_prompts;
    SysInfo m_sysInfo;
};
