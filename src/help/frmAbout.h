// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Form.h"

class QLabel;

namespace tunevane {

// The about window: name, version, description and a link to the program's web site.
class frmAbout : public Form {
    Q_OBJECT
public:
    explicit frmAbout(App& app);

    void loadSteps() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void lblsiteClick();

    QLabel* m_lblVersion = nullptr;
    QLabel* m_lblsite = nullptr;
};

} // namespace tunevane
