#include "app/Ui.h"

#include <QApplication>
#include <QMessageBox>
#include <QPalette>

namespace tunevane {

void installFonts() {
    // Metric-compatible faces keep the classic text inside its fixed boxes.
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QApplication::setFont(classicFont(QStringLiteral("MS Sans Serif"), 8.25));
}

QFont classicFont(const QString& family, qreal pointSize, bool bold, bool italic) {
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void showMessage(QWidget* parent, const QString& title, const QString& text,
                 std::function<void()> then) {
    // The window manager keeps a box above the window it belongs to, which must be on screen.
    if (parent && !parent->window()->isVisible())
        parent = QApplication::activeWindow();
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("MessageBox"));
    // A title and a close box only: minimise and maximise crowd out a short title.
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    box->setWindowModality(Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [then = std::move(then)](int) {
        if (then)
            then();
    });
    box->show();
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

} // namespace tunevane
