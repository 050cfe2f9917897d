// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

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

} // namespace tunevane
