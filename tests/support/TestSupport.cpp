#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

namespace testsupport {

namespace {

QtMessageHandler previousHandler = nullptr;

void filterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

void prepare() {
    QStandardPaths::setTestModeEnabled(true);
    previousHandler = qInstallMessageHandler(filterMessages);
}

QWidget* topLevel(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

QStringList visibleWindows() {
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->isWindow() && !widget->inherits("QMenu") &&
            !widget->inherits("QComboBoxPrivateContainer") && widget->windowType() != Qt::ToolTip)
            names << widget->objectName();
    }
    names.sort();
    return names;
}

QMessageBox* messageBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

QString dismissMessageBox() {
    QMessageBox* box = messageBox();
    if (!box)
        return {};
    const QString said = box->windowTitle() + QLatin1Char('|') + box->text();
    box->button(QMessageBox::Ok)->click();
    settle();
    return said;
}

bool click(const QString& window, const QString& button) {
    QWidget* form = topLevel(window);
    auto* control = form ? form->findChild<QPushButton*>(button) : nullptr;
    if (!control)
        return false;
    QTest::mouseClick(control, Qt::LeftButton);
    settle();
    return true;
}

void settle() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

} // namespace testsupport
