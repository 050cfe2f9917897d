#pragma once

#include "app/Form.h"

class QLabel;

namespace tunevane {

class FrmSplash : public Form {
    Q_OBJECT
public:
    explicit FrmSplash(App& app);
    ~FrmSplash() override;

    void loadSteps() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdEntermidiClick();
    void keyPressed();

    QLabel* m_lblVersion = nullptr;
};

// "Version 1.3.0": the revision is written even when it is 0.
QString versionText(int major, int minor, int revision);

} // namespace tunevane
