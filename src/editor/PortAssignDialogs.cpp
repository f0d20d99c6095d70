#include "editor/PortAssignDialogs.h"

#include <QMessageBox>
#include <QWidget>

namespace zmt {

bool QtPortAssignDialogs::confirm(QWidget* parent, const QString& question) {
    const QString title = parent ? parent->windowTitle() : QString();
    return QMessageBox::question(parent, title, question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void QtPortAssignDialogs::inform(QWidget* parent, const QString& message) {
    QMessageBox::information(parent, parent ? parent->windowTitle() : QString(), message);
}

}  // namespace zmt
