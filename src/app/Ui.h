#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>

class QWidget;

namespace tunevane {

// Game files are always red and replacement files always blue, on every window.
inline const QColor gameRed{255, 0, 0};
inline const QColor replacementBlue{0, 0, 255};

// Maps the classic Windows faces to the metric-compatible Liberation faces and sets the
// program-wide default font the twips layouts were drawn for. Call once after QApplication.
void installFonts();

QFont classicFont(const QString& family, qreal pointSize, bool bold = false, bool italic = false);

// A fixed message box: title, text, one OK button, no icon, application-modal. It never
// blocks: `then` runs once the user has dismissed it.
void showMessage(QWidget* parent, const QString& title, const QString& text,
                 std::function<void()> then = {});

void setTextColour(QWidget* widget, const QColor& colour);

} // namespace tunevane
