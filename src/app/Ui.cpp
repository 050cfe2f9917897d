#include "app/Ui.h"

#include "app/Twips.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>

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
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("MessageBox"));
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

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text,
                  const QRect& twipsBox) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(twipsRectOf(twipsBox));
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& toolTip, const QRect& twipsBox) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setGeometry(twipsRectOf(twipsBox));
    return button;
}

} // namespace tunevane
